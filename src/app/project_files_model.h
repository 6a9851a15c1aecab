#pragma once

// The current project's file list as a list model with a check box per file
// (set when the file takes part in the analysis). The model reads and writes
// the user settings; it keeps only a copy of the list for display, reread by
// reload() after the list changed elsewhere.

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "settings/user_settings.h"

namespace quorvel::app {

class ProjectFilesModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ProjectFilesModel(UserSettings& settings, QObject* parent = nullptr);

    // Rereads the current project's files.
    void reload();
    // The stored name of a row (without the disabled mark); empty outside.
    std::string fileName(int row) const;
    // Appends a file to the settings and the model, stored enabled.
    void append(const std::string& name);
    // Enables or disables every file.
    void setAllEnabled(bool enabled);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A check box was set or cleared through setData (a user's click).
    void fileEnabledChanged(int row, bool enabled);

private:
    UserSettings& settings_;
    std::vector<UserSettings::FileItem> files_;
};

}  // namespace quorvel::app
