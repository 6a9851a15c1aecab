#pragma once

// The bundled example project copied into a scratch folder, with its folder
// made absolute, so window tests and the command-line tool read the same
// files.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

struct ExampleProject {
    QString settingsPath;
    QString checkerPath;

    static ExampleProject copyInto(const QTemporaryDir& scratch) {
        const QString source = QStringLiteral(QUORVEL_SOURCE_DIR "/examples");
        QFile in(source + QStringLiteral("/example.hc"));
        (void)in.open(QIODevice::ReadOnly);
        QByteArray settings = in.readAll();
        settings.replace("Folder=examples/site", "Folder=" + QFile::encodeName(source) + "/site");
        ExampleProject project{scratch.filePath(QStringLiteral("example.hc")),
                               scratch.filePath(QStringLiteral("Quorvel.chk"))};
        QFile out(project.settingsPath);
        (void)out.open(QIODevice::WriteOnly);
        out.write(settings);
        QFile::copy(QStringLiteral(QUORVEL_SOURCE_DIR "/data/Quorvel.chk"), project.checkerPath);
        return project;
    }
};
