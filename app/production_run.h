#pragma once
// The production form's side of the hand-over: fills the form, runs it
// modally and reads back the project and the outcome.
#include "app/output_handover.h"

namespace app {

HandOverResult RunProductionForm(const HandOverJob& job);

}  // namespace app
