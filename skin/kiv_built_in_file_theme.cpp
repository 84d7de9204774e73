#include "skin/kiv_built_in_file_theme.h"

TkivBuiltInFileTheme::TkivBuiltInFileTheme(TComponent* AOwner) : TComponent(AOwner) {}
