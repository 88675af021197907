#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Builds folder trees for the tests under a fresh temporary folder, with
// plain POSIX calls so that what the test made is exactly what is on disk.
class TreeBuilder {
public:
    TreeBuilder() { chmod(dir_.path().toLocal8Bit().constData(), 0755); }
    // Trees deeper than a path can name, or with closed folders, are beyond
    // QTemporaryDir's own removal.
    ~TreeBuilder() {
        const std::string command = "chmod -R u+rwx '" + root() + "' && rm -rf '" + root() + "'";
        (void)!std::system(command.c_str());
    }

    std::string root() const { return dir_.path().toStdString(); }
    std::string path(const std::string& relative) const { return root() + "/" + relative; }

    void file(const std::string& relative, const std::string& content = {}) const {
        const int fd = open(path(relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            (void)!write(fd, content.data(), content.size());
            close(fd);
        }
    }
    void folder(const std::string& relative, mode_t mode = 0755) const {
        mkdir(path(relative).c_str(), mode);
        chmod(path(relative).c_str(), mode);
    }
    void link(const std::string& relative, const std::string& target) const {
        (void)!symlink(target.c_str(), path(relative).c_str());
    }

    // For comparisons that print what differs.
    static QStringList list(const std::vector<std::string>& entries) {
        QStringList result;
        for (const std::string& e : entries)
            result << QString::fromStdString(e);
        return result;
    }

private:
    QTemporaryDir dir_;
};
