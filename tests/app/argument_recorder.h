#pragma once

// A stand-in program for window tests: a shell script that appends each of
// its arguments, one per line, to a record file.

#include <QFile>
#include <QStringList>
#include <QtTest>

namespace quorvel::app::testing {

class ArgumentRecorder {
public:
    // Writes the executable script into `folder`.
    explicit ArgumentRecorder(const QString& folder)
        : program_(folder + "/recorder.sh"), record_(folder + "/arguments.txt") {
        QFile script(program_);
        if (!script.open(QIODevice::WriteOnly)) return;
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" +
                     QFile::encodeName(record_) + "'; done\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }

    const QString& program() const { return program_; }

    // The arguments recorded so far, waiting up to five seconds for at least
    // `count` of them (the program runs detached).
    QStringList arguments(int count = 1) const {
        QStringList lines;
        for (int i = 0; i < 100 && lines.size() < count; ++i) {
            QTest::qWait(50);
            QFile file(record_);
            if (file.open(QIODevice::ReadOnly))
                lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        }
        return lines;
    }

private:
    QString program_;
    QString record_;
};

}  // namespace quorvel::app::testing
