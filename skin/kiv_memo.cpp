#include "skin/kiv_memo.h"

TkivMemo::TkivMemo(TComponent* AOwner) : TMemo(AOwner) {}
