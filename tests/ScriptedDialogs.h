// SPDX-License-Identifier: MIT
#pragma once

#include "LoadDialogs.h"

#include <QList>
#include <QString>

// Scripted answers for the window's dialogs: Yes or No, then the Open dialog's
// choices in turn (round and round; nothing chosen is a cancel), and one
// answer for every Save dialog. It keeps
// counts and the last of each question, not a growing record, so that a long
// session's memory is the viewer's own.
class ScriptedDialogs final : public LoadDialogs {
  public:
    bool answerYes = true;
    QList<std::optional<QString>> choices;
    std::optional<QString> saveChoice; // the Save dialog's answer, each time

    int questionsAsked = 0;
    int opens = 0;
    int warnings = 0;
    QString lastQuestion; // "title|text"
    OpenDialogRequest lastRequest;
    int saves = 0;
    OpenDialogRequest lastSaveRequest;
    QString lastWarning; // "title|text"

    bool askYesNo(const QString& title, const QString& question) override {
        ++questionsAsked;
        lastQuestion = title + '|' + question;
        return answerYes;
    }
    std::optional<QString> ShowOpen(const OpenDialogRequest& request) override {
        lastRequest = request;
        const int turn = opens++;
        return choices.isEmpty() ? std::nullopt : choices[turn % choices.size()];
    }
    std::optional<QString> showSave(const OpenDialogRequest& request) override {
        ++saves;
        lastSaveRequest = request;
        return saveChoice;
    }
    std::optional<QString> folderChoice; // the folder dialog's answer, each time
    int folderQuestions = 0;
    std::optional<QString> showFolder(const QString&) override {
        ++folderQuestions;
        return folderChoice;
    }
    void warn(const QString& title, const QString& message) override {
        ++warnings;
        lastWarning = title + '|' + message;
    }
};
