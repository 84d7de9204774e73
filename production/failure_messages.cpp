#include "production/failure_messages.h"

#include <cerrno>
#include <filesystem>

#include "mcl/mcl.h"

namespace production {

std::string SystemReason(int systemCode)
{
    switch (systemCode) {
    case 0: return {};
    case ENOSPC:
    case EDQUOT: return "磁盘空间不足";
    case EFBIG: return "文件太大, 文件系统不接受";
    case EACCES:
    case EPERM: return "没有权限";
    case EROFS: return "磁盘只读";
    case ENOENT: return "文件或文件夹不存在";
    case ENOTDIR: return "文件夹不存在";
    case ENAMETOOLONG: return "文件名太长";
    case EEXIST: return "文件已存在";
    case EIO: return "磁盘读写出错";
    case EMLINK:
    case EXDEV: return "文件系统不支持";
    case ENOMEM: return "内存不足";
    default: return "系统错误 " + std::to_string(systemCode);
    }
}

namespace {

std::string WithReason(std::string text, int systemCode)
{
    if (const std::string reason = SystemReason(systemCode); !reason.empty()) text += " (" + reason + ")";
    return text + ".";
}

std::string FolderOf(const std::string& file)
{
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

}  // namespace

std::string FailureText(const Failure& f)
{
    switch (f.kind) {
    case FailureKind::OutputCreate:
        if (f.systemCode == ENOENT || f.systemCode == ENOTDIR)
            return "文件夹不存在: " + FolderOf(f.file) + ".";
        return WithReason("视频文件无法创建: " + f.file, f.systemCode);
    case FailureKind::OutputWrite: return WithReason("视频文件无法写入: " + f.file, f.systemCode);
    case FailureKind::OutputKeep:
        if (f.systemCode == ENOENT || f.systemCode == ENOTDIR)
            return "视频文件无法保存, 文件夹已不存在: " + FolderOf(f.file) + ".";
        if (f.systemCode == EEXIST) return "文件已存在! 不能完成操作: " + f.file + ".";
        return WithReason("视频文件无法保存为 " + f.file, f.systemCode);
    case FailureKind::OutputExists: return "文件已存在! 不能完成操作: " + f.file + ".";
    case FailureKind::OutputGone: return "视频文件不在了: " + f.file + ".";
    case FailureKind::NoFileName: return "没有文件名.";
    case FailureKind::FolderMissing: return WithReason("文件夹无法打开: " + f.file, f.systemCode);
    case FailureKind::NotAFolder: return "不是文件夹: " + f.file + ".";
    case FailureKind::NameTooLong: return "文件名太长, 文件系统不接受: " + f.file + ".";
    case FailureKind::PathTooLong: return "路径太长, 文件系统不接受: " + f.file + ".";
    case FailureKind::PhotoUnreadable: return "照片无法读取: " + f.file + ".";
    case FailureKind::SongUnreadable: return WithReason("音乐文件无法读取: " + f.file, f.systemCode);
    case FailureKind::SongDamaged: return "音乐文件已损坏或不完整: " + f.file + ".";
    case FailureKind::OpeningUnreadable: return "片头视频无法读取: " + f.file + ".";
    case FailureKind::TemplateUnreadable: return "模板文件无法读取: " + f.detail;
    case FailureKind::Encoder:
        if (!f.file.empty()) return "视频编码出错: " + f.file + ".";
        return f.detail.empty() ? "视频编码出错." : "视频编码出错: " + f.detail;
    case FailureKind::TemporaryLeft:
        return WithReason("留下了一个隐藏的临时文件, 无法删除: " + f.file, f.systemCode);
    }
    return f.detail;
}

std::optional<Failure> EncoderFailure(int code, int systemCode, const std::string& file, InputRole role,
                                      const std::string& text, const std::string& finalName)
{
    const bool input = code == MCL_ERROR_INPUT_OPEN || code == MCL_ERROR_INPUT_DECODE;
    if (code == MCL_OK) return std::nullopt;
    if (code == MCL_ERROR_OUTPUT) return Failure(FailureKind::OutputWrite, finalName, systemCode, text);
    if (code == MCL_ERROR_ENCODER) return Failure(FailureKind::Encoder, finalName, systemCode, text);
    if (input && role == InputRole::Opening)
        return Failure(FailureKind::OpeningUnreadable, file, systemCode, text);
    if (input && role == InputRole::Song) {
        const FailureKind kind =
            code == MCL_ERROR_INPUT_OPEN ? FailureKind::SongUnreadable : FailureKind::SongDamaged;
        return Failure(kind, file, systemCode, text);
    }
    // No kind words it: the library's own text.
    return Failure(FailureKind::Encoder, {}, systemCode, text);
}

}  // namespace production
