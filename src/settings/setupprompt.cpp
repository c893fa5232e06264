#include "settings/setupprompt.h"

#include "app/usertexts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QString BoxTitle() {
    return QString::fromStdString(usertexts::Text(282));
}

}  // namespace

void MessageBoxPrompt::Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, BoxTitle(), text, QMessageBox::Ok);
}

bool MessageBoxPrompt::Confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, BoxTitle(), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

QString MessageBoxPrompt::PickFolder(QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}
