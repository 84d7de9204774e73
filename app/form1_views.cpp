// The views TForm1 gives its helper modules: each names the controls and
// project values that one module touches, so that the module never sees
// the rest of the main window.
#include "app/form1.h"
#include "app/form4.h"
#include "app/music_actions.h"

app::MusicActionsView TForm1::MusicView()
{
    return {*kivListView2,
            *kivListView5,
            *kivListView1,
            *WindowsMediaPlayer2,
            *Timer1,
            *OpenDialog2,
            *Label1,
            *Label2,
            *kivMessageDialog1,
            *xiao_guo_Flash,
            MusicSeconds,
            MusicRowSeconds,
            MusicIndex,
            SyncMode,
            PhotoFrames,
            [this] { return ValidTemplateLoaded(); },
            [] { Form4->ShowModal(); },
            [this] { ProjectLengthText(); }};
}
