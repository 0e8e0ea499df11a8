#ifndef TESTUTIL_H
#define TESTUTIL_H

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Closes every modal dialog or message box that opens while it lives, and
// remembers the texts of the message boxes, so that no test can hang on one.
class DialogCloser : public QObject
{
public:
    explicit DialogCloser(int intervalMs = 20)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { closeAll(); });
        timer.start(intervalMs);
    }

    void closeAll()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* w : widgets) {
            if (!w->isVisible())
                continue;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                titles << box->windowTitle();
                texts << box->text();
                box->done(QMessageBox::Ok);
            } else if (auto* dlg = qobject_cast<QDialog*>(w)) {
                if (dlg->isModal())
                    dlg->reject();
            }
        }
    }

    QStringList titles;
    QStringList texts;

private:
    QTimer timer;
};

#endif // TESTUTIL_H
