#pragma once

#include <QString>

class QWidget;

// The settings dialog's questions to the user: message boxes and the folder picker. Tests put
// a scripted prompt in its place so that nothing waits for a click.
class ISetupPrompt {
public:
    virtual ~ISetupPrompt() = default;

    // A message with an OK button.
    virtual void Inform(QWidget* parent, const QString& text) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // A file-system folder chosen by the user; empty when the picker was cancelled.
    virtual QString PickFolder(QWidget* parent, const QString& title) = 0;
};

// The standard message boxes and folder picker.
class MessageBoxPrompt : public ISetupPrompt {
public:
    void Inform(QWidget* parent, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    QString PickFolder(QWidget* parent, const QString& title) override;
};
