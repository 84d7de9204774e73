#include "skin/kiv_list_view.h"

TkivListView::TkivListView(TComponent* AOwner) : TListView(AOwner) {}
