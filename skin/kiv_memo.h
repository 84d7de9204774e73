#pragma once
// TkivMemo: multi-line text, with the plain look for now.
#include "platform/ui/memo.h"

class TkivMemo : public TMemo {
public:
    explicit TkivMemo(TComponent* AOwner = nullptr);
};
