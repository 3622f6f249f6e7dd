#pragma once

#include "ui/shell/DialogService.h"

#include <QStringList>

#include <deque>

// The dialog service of the GUI tests: records every message and answers
// questions, inputs and pickers from scripts, so nothing ever blocks.
// Installed for its lifetime.
class ScriptedDialogService final : public TDialogService
{
public:
    ScriptedDialogService() : previous(Install(this)) {}
    ~ScriptedDialogService() override { Install(previous); }

    void ShowError(const QString& text) override { Errors.append(text); }
    void ShowInformation(const QString& text) override { Informations.append(text); }
    bool Confirm(const QString& question) override
    {
        Questions.append(question);
        return take(ConfirmAnswers, false);
    }
    TDialogChoice ConfirmOrCancel(const QString& question) override
    {
        Questions.append(question);
        return take(ChoiceAnswers, TDialogChoice::Cancel);
    }
    std::optional<QString> InputText(const QString&, const QString& prompt, const QString&, bool) override
    {
        Questions.append(prompt);
        const QString answer = take(InputAnswers, QString());
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return take(FileAnswers, QString()); }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return take(FileAnswers, QString()); }
    QString BrowseForFolder(const QString&, TQVL_SpecialFolder, const QString&) override { return take(FileAnswers, QString()); }

    QStringList Errors, Informations, Questions;
    std::deque<bool> ConfirmAnswers;
    // Answers to Ja / Nein / Abbrechen questions; Abbrechen when none is left.
    std::deque<TDialogChoice> ChoiceAnswers;
    // A null QString() answers "cancel"; QStringLiteral("") is an empty input.
    std::deque<QString> InputAnswers;
    std::deque<QString> FileAnswers;

private:
    template <typename T>
    static T take(std::deque<T>& answers, T fallback)
    {
        if (answers.empty())
            return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }

    TDialogService* previous;
};
