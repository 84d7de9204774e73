// castorun: removes an installation of Velmora.
#include <exception>
#include <iostream>

#include "platform/ui/msgbox.h"
#include "platform/ui/sdl_backend.h"
#include "uninstall/form1.h"

int main()
{
    try {
        ui::UseSdlBackend();
    } catch (const std::exception& error) {
        std::cerr << "castorun: cannot open a window (is there a display?): " << error.what() << std::endl;
        return 1;
    }
    ui::ReportExceptionsInMessageBox("卸载");
    return uninstall::RunCastorun();
}
