// Saving, printing, help, exit and the option toggles.

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include <cstdio>

std::function<QString(QWidget*, const QString&, const QString&, const QString&)>
    MainWindow::saveFileNameProvider =
        [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
            return QFileDialog::getSaveFileName(parent, caption, dir, filter);
        };

std::function<bool(const QUrl&)> MainWindow::urlOpener = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
};

void MainWindow::on_action_Save_File_triggered()
{
    // The picture is taken before the dialog can cover the window.
    const QPixmap screenshot = grab();
    const QString format = QStringLiteral("jpg");
    const QString initialPath = QDir::currentPath() + tr("/untitled.") + format;
    const QString filter = tr("%1 Files (*.%2);;PNG Files (*.png);;All Files (*)")
                               .arg(format.toUpper())
                               .arg(format);
    const QString fileName = saveFileNameProvider(this, tr("Save As"), initialPath, filter);
    if (fileName.isEmpty())
        return;
    savePicture(screenshot, fileName);
}

bool MainWindow::savePicture(const QPixmap& picture, const QString& fileName)
{
    if (picture.save(fileName, nullptr, 100))
        return true;
    QMessageBox::warning(this, tr("Save As"),
                         tr("The picture could not be saved as \"%1\".\n"
                            "Check that the name ends in a known image type (such as .jpg or .png) "
                            "and that the place can be written.")
                             .arg(QDir::toNativeSeparators(fileName)));
    return false;
}

void MainWindow::on_action_Print_triggered()
{
    QPrinter printer(QPrinter::ScreenResolution);
    QPrintDialog printDialog(&printer, this);
    if (printDialog.exec() != QDialog::Accepted)
        return;
    printPicture(&printer);
}

QRect MainWindow::printPicture(QPrinter* printer)
{
    QPainter painter;
    if (!printer || !painter.begin(printer))
        return QRect();
    const QPixmap pm = grab();
    // The painter's origin is the printable area's top-left corner; a
    // picture larger than that area is shrunk to fit, keeping its shape.
    const QSize area = painter.viewport().size();
    QSize size = pm.size();
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area, Qt::KeepAspectRatio);
    const QRect target(QPoint(0, 0), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, pm);
    painter.end();
    return target;
}

void MainWindow::on_action_Exit_triggered()
{
    QFile file(QStringLiteral("defaultWFDBdatabase.txt"));
    if (file.exists())
        file.remove();
    close();
}

QUrl MainWindow::helpUrl()
{
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html"));
}

void MainWindow::on_actionContents_triggered()
{
    urlOpener(helpUrl());
}

void MainWindow::on_actionAbout_triggered() {}

void MainWindow::on_action_Enable_Magnetic_Cursor_triggered()
{
    isMagneticCursor = ui->action_Enable_Magnetic_Cursor->isChecked();
}

void MainWindow::on_action_Multi_windows_dynamical_Selection_triggered()
{
    isSingleWindow = !ui->action_Multi_windows_dynamical_Selection->isChecked();
}

void MainWindow::on_action_Trim_Signals_at_Begin_triggered()
{
    isTrimSignalsAtBegin = ui->action_Trim_Signals_at_Begin->isChecked();
}

void MainWindow::on_action_Bond_Signals_triggered()
{
    isBondSignals = ui->action_Bond_Signals->isChecked();
}

size_t MainWindow::process_data(void* buffer, size_t size, size_t nmemb, void* user_p)
{
    if (!buffer || !user_p)
        return 0;
    return fwrite(buffer, size, nmemb, static_cast<FILE*>(user_p));
}
