#include "common/appfolder.h"

#include <filesystem>
#include <system_error>

namespace common {

QString withTrailingSeparator(const QString& dir) {
    if (dir.endsWith(u'/')) return dir;
    return dir + u'/';
}

QString applicationFolder() {
    std::error_code ec;
    // /proc/self/exe names the program file itself, wherever it was started
    // from and whatever the current folder is.
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::current_path(ec) / "program";
    return withTrailingSeparator(QString::fromStdString(exe.parent_path().string()));
}

}  // namespace common
