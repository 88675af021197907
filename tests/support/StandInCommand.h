#pragma once

#include <QDir>
#include <QFile>

// A stand-in for a desktop command (xdg-email, xdg-open) in a folder meant for
// the front of PATH: it writes its arguments, one per line, into a record
// file beside itself and exits with the code the test chose.
class StandInCommand {
public:
    StandInCommand(const QString& folder, const QString& name)
        : path_(QDir(folder).filePath(name)), record_(path_ + ".args") {}

    // crash: the command dies of a signal instead of exiting.
    void install(int exitCode = 0, bool crash = false) const {
        QFile script(path_);
        script.open(QIODevice::WriteOnly | QIODevice::Truncate);
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record_.toLocal8Bit() + "'\n" +
                     (crash ? "kill -9 $$\n" : "exit " + QByteArray::number(exitCode) + "\n"));
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::remove(record_);
    }
    void remove() const { QFile::remove(path_); }

    bool ran() const { return QFile::exists(record_); }
    // The arguments as recorded, every one followed by a line feed.
    QByteArray record() const {
        QFile file(record_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString path_;
    QString record_;
};
