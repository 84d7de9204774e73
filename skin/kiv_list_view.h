#pragma once
// TkivListView: a list view in report view, with the plain look for now.
#include "platform/ui/listview.h"

class TkivListView : public TListView {
public:
    explicit TkivListView(TComponent* AOwner = nullptr);
};
