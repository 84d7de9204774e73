// castora: the album editor.
#include <exception>
#include <iostream>

#include "app/castora_forms.h"
#include "app/product_title.h"
#include "platform/core/memory.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/sdl_backend.h"

int main()
{
    core::ReturnLargeBlocksWhenFreed();
    try {
        ui::UseSdlBackend();
    } catch (const std::exception& error) {
        std::cerr << "castora: cannot open a window (is there a display?): " << error.what() << std::endl;
        return 1;
    }
    ui::ReportExceptionsInMessageBox(app::kMainWindowTitle);
    return app::RunCastora();
}
