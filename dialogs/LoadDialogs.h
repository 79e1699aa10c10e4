// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the Open dialog, or the Save dialog, is asked to show.
struct OpenDialogRequest {
    QStringList nameFilters; // "label(pattern)" entries, the first one selected
    QString defaultSuffix;   // appended to a typed name without one
    QString fileName;        // initial text of the file-name box
    QString folder;          // where the dialog starts
};

// A mark's texts as its dialog edits them.
struct MarkTexts {
    QString label;
    QString comment;
};

// The window's conversation with the user, for loading logs and saving
// pictures. The window supplies the standard dialogs; tests supply scripted
// answers.
class LoadDialogs {
  public:
    virtual ~LoadDialogs() = default;
    // A Yes/No question, Yes being the default button. True for Yes.
    virtual bool askYesNo(const QString& title, const QString& question) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<QString> ShowOpen(const OpenDialogRequest& request) = 0;
    // The path to save to, or nothing when the user cancels.
    virtual std::optional<QString> showSave(const OpenDialogRequest& request) = 0;
    // A folder to show, starting in `folder`; nothing when the user cancels.
    virtual std::optional<QString> showFolder(const QString& folder) = 0;
    virtual void warn(const QString& title, const QString& message) = 0;
    // A mark's label and comment, starting from `texts`; nothing when the
    // user drops the mark. `about` says what is marked (its time and sector).
    virtual std::optional<MarkTexts> editMark(const QString& title, const QString& about,
                                              const MarkTexts& texts) = 0;
};

// Converts a filter in the "label|pattern|label|pattern" form into Qt's name
// filters. "*.*", which on Windows means every file, becomes "*", since here
// it would hide every file without a dot in its name.
QStringList NameFiltersFrom(const QString& barSeparated);
