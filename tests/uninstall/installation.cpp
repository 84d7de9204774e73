#include "tests/uninstall/installation.h"

#include <fstream>

#include "tools/velmora-install/install_layout.h"

namespace uninstall_test {

void Installation::SetUp()
{
    root_ = temp_.Path();
    home_ = root_ / "home" / "user";
    system_ = home_ / ".local" / "share" / "velmora";
    install_ = root_ / "opt" / "安装 目录";
    env_.Set("HOME", home_.string());
    env_.Set("VELMORA_SYSTEM_DIR", system_.string());
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "XDG_DOCUMENTS_DIR", "XDG_DOWNLOAD_DIR",
          "XDG_MUSIC_DIR", "XDG_PICTURES_DIR", "XDG_VIDEOS_DIR", "XDG_PUBLICSHARE_DIR", "XDG_TEMPLATES_DIR"})
        env_.Clear(name);
    desktop_ = home_ / "Desktop";
    menu_ = home_ / ".local" / "share" / "applications";
    autostart_ = home_ / ".config" / "autostart";
    ASSERT_TRUE(core::ForceDirectories(home_));
}

fs::path Installation::Install()
{
    installer::InstallOptions options;
    for (const fs::path& file : InstalledFiles()) {
        Touch(install_ / file, file.string());
        options.installedFiles.push_back(install_ / file);
    }
    options.installDir = install_;
    options.shippedDir = root_ / "shipped";
    options.systemDir = system_;
    Touch(options.shippedDir / "xtsz" / "rjjj.swf");
    return installer::Install(options).workDir;
}

std::vector<fs::path> Installation::InstalledFiles()
{
    return {"castora", "castorun", "libmcl.so.4", fs::path("MP3歌曲") / "相册小调.mp3",
            fs::path("试用模板") / "示例照片" / "photo1.jpg"};
}

void Installation::Touch(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

bool Installation::Exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}  // namespace uninstall_test
