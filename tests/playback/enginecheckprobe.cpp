// Starts like the viewer does: confirms the media engine and ends with status 1 when it is
// unusable. A message box shown meanwhile is printed to standard output and closed, standing in
// for the user who reads it.
#include "playback/mediaenginecheck.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("message: %s\n", box->text().toUtf8().constData());
            std::fflush(stdout);
            box->accept();
        }
    });
    reader.start(20);
    if (!ConfirmMediaEngine()) {
        return 1;
    }
    std::printf("engine ready\n");
    return 0;
}
