#include "production/hand_over.h"

#include <algorithm>
#include <limits>

#include "platform/core/timer.h"
#include "platform/ui/edit.h"
#include "production/production_form.h"
#include "skin/kiv_progress_bar.h"

namespace production {

HandOverResult RunProductionForm(const HandOverJob& job)
{
    frmMain->SetProject(job.project);
    frmMain->edVideoOut->SetText(job.output_path);
    frmMain->edAudioOut->SetText(job.output_path);
    // The bar counts in int; no album comes near that many frames.
    const auto target = static_cast<int>(std::min<int64_t>(job.frame_count, std::numeric_limits<int>::max()));
    frmMain->kivProgressBar1->SetMax(target);
    frmMain->kivProgressBar1->SetMin(0);
    frmMain->kivProgressBar1->SetPosition(0);
    frmMain->kivProgressBar2->SetMax(100);
    frmMain->kivProgressBar2->SetMin(0);
    frmMain->kivProgressBar2->SetPosition(0);
    frmMain->Timer1->SetEnabled(true);
    frmMain->Timer2->SetEnabled(true);
    frmMain->ShowModal();
    return {frmMain->Project(), frmMain->Outcome()};
}

}  // namespace production
