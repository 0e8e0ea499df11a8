// Saving and printing a picture of the main window, help, exit, About, the
// option toggles and the stream writer.

#include <QtTest>

#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QImageReader>
#include <QPrinter>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"
#include "testutil.h"

namespace {

// Answers the save dialog with a fixed name and remembers what it was asked.
struct SaveDialogStub
{
    QString answer;
    int calls = 0;
    QWidget* parent = nullptr;
    QString caption, dir, filter;

    void install()
    {
        MainWindow::saveFileNameProvider = [this](QWidget* p, const QString& c, const QString& d,
                                                  const QString& f) {
            ++calls;
            parent = p;
            caption = c;
            dir = d;
            filter = f;
            return answer;
        };
    }
};

} // namespace

class TestFileOps : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The record's files are resources of the static library.
        Q_INIT_RESOURCE(resources);
    }
    void init()
    {
        savedProvider = MainWindow::saveFileNameProvider;
        savedOpener = MainWindow::urlOpener;
    }
    void cleanup()
    {
        MainWindow::saveFileNameProvider = savedProvider;
        MainWindow::urlOpener = savedOpener;
    }

    void saveProposesJpegAndWritesPictures();
    void cancelledSaveIsSilent();
    void failedSaveWarnsWithFileName();
    void realSaveDialogCancelled();
    void printFitsPictureOnPage();
    void printDialogCancelledPrintsNothing();
    void exitRemovesDatabaseFile();
    void helpOpensLocalPage();
    void aboutDoesNothing();
    void optionToggles();
    void processDataWritesItems();

private:
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> savedProvider;
    std::function<bool(const QUrl&)> savedOpener;
};

void TestFileOps::saveProposesJpegAndWritesPictures()
{
    DialogCloser closer;
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    SaveDialogStub stub;
    stub.install();
    stub.answer = tmp.filePath("shot.png");
    w.form()->action_Save_File->trigger();
    QCOMPARE(stub.calls, 1);
    QCOMPARE(stub.parent, static_cast<QWidget*>(&w));
    QCOMPARE(stub.caption, QString("Save As"));
    QCOMPARE(stub.dir, QDir::currentPath() + "/untitled.jpg");
    QCOMPARE(stub.filter, QString("JPG Files (*.jpg);;PNG Files (*.png);;All Files (*)"));

    QImageReader png(stub.answer);
    QCOMPARE(png.format(), QByteArray("png"));
    const QSize expected = w.grab().size();
    QCOMPARE(png.size(), expected);
    QCOMPARE(png.size(), w.size() * w.devicePixelRatio());

    stub.answer = tmp.filePath("shot.jpg");
    w.form()->action_Save_File->trigger();
    QImageReader jpg(stub.answer);
    QCOMPARE(jpg.format(), QByteArray("jpeg"));
    QCOMPARE(jpg.size(), expected);
    QVERIFY(closer.texts.isEmpty());
}

void TestFileOps::cancelledSaveIsSilent()
{
    DialogCloser closer;
    QTemporaryDir tmp;
    MainWindow w;
    SaveDialogStub stub;
    stub.install();
    stub.answer = QString();
    const QStringList before = QDir(tmp.path()).entryList(QDir::Files);
    w.form()->action_Save_File->trigger();
    QCOMPARE(stub.calls, 1);
    QTest::qWait(60);
    QVERIFY(closer.texts.isEmpty());
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), before);
}

void TestFileOps::failedSaveWarnsWithFileName()
{
    DialogCloser closer;
    QTemporaryDir tmp;
    MainWindow w;
    SaveDialogStub stub;
    stub.install();

    const QStringList names = {tmp.filePath("picture"),                // no suffix
                               tmp.filePath("picture.notanimage"),     // unknown format
                               tmp.filePath("missing/dir/picture.png")}; // cannot be written
    for (const QString& name : names) {
        stub.answer = name;
        w.form()->action_Save_File->trigger();
        QVERIFY(!QFile::exists(name));
    }
    QCOMPARE(closer.texts.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(closer.texts[i].contains(QDir::toNativeSeparators(names[i])), qPrintable(closer.texts[i]));
        QCOMPARE(closer.titles[i], QString("Save As"));
    }

    // The helper reports the outcome too.
    const QPixmap pm = w.grab();
    QVERIFY(!w.savePicture(pm, tmp.filePath("again")));
    QVERIFY(w.savePicture(pm, tmp.filePath("ok.png")));
    QCOMPARE(closer.texts.size(), 4);
}

void TestFileOps::realSaveDialogCancelled()
{
    // The real dialog, closed unanswered: nothing is saved, nothing is said.
    DialogCloser closer(3000); // fallback only
    QTemporaryDir tmp;
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    QStringList proposed;
    {
        MainWindow w;
        w.show();
        QTimer::singleShot(50, &w, [&proposed] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* dlg = qobject_cast<QFileDialog*>(top); dlg && dlg->isVisible()) {
                    proposed = dlg->selectedFiles();
                    proposed << dlg->windowTitle();
                    dlg->reject();
                }
            }
        });
        w.form()->action_Save_File->trigger();
    }
    QDir::setCurrent(oldDir);
    QCOMPARE(proposed, QStringList({QDir(tmp.path()).canonicalPath() + "/untitled.jpg", "Save As"}));
    QVERIFY(closer.texts.isEmpty());
    QVERIFY(QDir(tmp.path()).entryList(QDir::Files).isEmpty());
}

void TestFileOps::printFitsPictureOnPage()
{
    QTemporaryDir tmp;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize picture = w.grab().size();

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(tmp.filePath("page.pdf"));
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    // The main window is wider than an A4 page at screen resolution.
    QVERIFY(picture.width() > area.width());

    const QRect drawn = w.printPicture(&printer);
    QCOMPARE(drawn.topLeft(), QPoint(0, 0));
    QVERIFY(drawn.width() <= area.width());
    QVERIFY(drawn.height() <= area.height());
    // Fills the area in one direction, keeping the picture's shape.
    QVERIFY(drawn.width() == area.width() || drawn.height() == area.height());
    const double ratio = double(picture.width()) / picture.height();
    QVERIFY(qAbs(double(drawn.width()) / drawn.height() - ratio) < 0.01);

    QFile pdf(tmp.filePath("page.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 1000);
    pdf.close();

    // A picture that fits is printed at its own size.
    w.resize(300, 200);
    QPrinter small(QPrinter::ScreenResolution);
    small.setOutputFormat(QPrinter::PdfFormat);
    small.setOutputFileName(tmp.filePath("small.pdf"));
    const QRect smallDrawn = w.printPicture(&small);
    QCOMPARE(smallDrawn, QRect(QPoint(0, 0), w.grab().size()));
}

void TestFileOps::printDialogCancelledPrintsNothing()
{
    DialogCloser closer(3000); // fallback only
    MainWindow w;
    w.show();
    bool asked = false;
    QTimer::singleShot(50, &w, [&asked] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* dlg = qobject_cast<QPrintDialog*>(top); dlg && dlg->isVisible()) {
                asked = true;
                dlg->reject();
            }
        }
    });
    w.form()->action_Print->trigger();
    QVERIFY(asked);
    QVERIFY(closer.texts.isEmpty());
}

void TestFileOps::exitRemovesDatabaseFile()
{
    QTemporaryDir tmp;
    const QString oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tmp.path()));
    const QString name = tmp.filePath("defaultWFDBdatabase.txt");
    auto touch = [&name] {
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x\n");
    };

    {
        MainWindow w;
        w.show();
        touch();
        w.form()->action_Exit->trigger();
        QVERIFY(!QFile::exists(name));
        QVERIFY(!w.isVisible());
    }
    {
        // Absent file: the window closes all the same.
        MainWindow w;
        w.show();
        w.form()->action_Exit->trigger();
        QVERIFY(!w.isVisible());
    }
    {
        // Closing the window otherwise keeps the file.
        MainWindow w;
        w.show();
        touch();
        w.close();
        QVERIFY(QFile::exists(name));
    }
    QDir::setCurrent(oldDir);
}

void TestFileOps::helpOpensLocalPage()
{
    QList<QUrl> opened;
    MainWindow::urlOpener = [&opened](const QUrl& url) {
        opened << url;
        return false; // no browser: nothing is reported
    };
    DialogCloser closer;
    MainWindow w;
    w.form()->actionContents->trigger();
    QCOMPARE(opened.size(), 1);
    const QUrl url = opened.first();
    QVERIFY(url.isValid());
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(), QCoreApplication::applicationDirPath() + "/help/index.html");
    // Three slashes after the scheme on a path that starts with one.
    QVERIFY(url.toString().startsWith("file:///"));
    QVERIFY(!url.toString().startsWith("file:////"));
    QCOMPARE(url, MainWindow::helpUrl());
    QTest::qWait(60);
    QVERIFY(closer.texts.isEmpty());
}

void TestFileOps::aboutDoesNothing()
{
    DialogCloser closer;
    MainWindow w;
    w.show();
    const int windows = QApplication::topLevelWidgets().size();
    w.form()->actionAbout->trigger();
    QTest::qWait(60);
    QVERIFY(closer.texts.isEmpty());
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
}

void TestFileOps::optionToggles()
{
    MainWindow w;
    Ui::MainWindow* ui = w.form();
    QVERIFY(w.isBondSignals);
    ui->action_Bond_Signals->trigger();
    QVERIFY(!ui->action_Bond_Signals->isChecked());
    QVERIFY(!w.isBondSignals);
    ui->action_Bond_Signals->trigger();
    QVERIFY(w.isBondSignals);

    QVERIFY(!w.isMagneticCursor);
    ui->action_Enable_Magnetic_Cursor->trigger();
    QVERIFY(w.isMagneticCursor);
    ui->action_Enable_Magnetic_Cursor->trigger();
    QVERIFY(!w.isMagneticCursor);

    QVERIFY(!w.isSingleWindow);
    ui->action_Multi_windows_dynamical_Selection->trigger();
    QVERIFY(w.isSingleWindow);
    ui->action_Multi_windows_dynamical_Selection->trigger();
    QVERIFY(!w.isSingleWindow);

    QVERIFY(w.isTrimSignalsAtBegin);
    ui->action_Trim_Signals_at_Begin->trigger();
    QVERIFY(!w.isTrimSignalsAtBegin);

    // A flag changed by the plot windows follows the mark again at the next trigger.
    w.isBondSignals = false;
    ui->action_Bond_Signals->trigger(); // the mark goes from checked to unchecked
    QVERIFY(!w.isBondSignals);
    ui->action_Bond_Signals->trigger();
    QVERIFY(w.isBondSignals);
}

void TestFileOps::processDataWritesItems()
{
    QTemporaryDir tmp;
    const QByteArray path = tmp.filePath("out.bin").toLocal8Bit();
    FILE* f = std::fopen(path.constData(), "wb");
    QVERIFY(f);
    const char data[] = "abcdefgh";
    QCOMPARE(MainWindow::process_data(const_cast<char*>(data), 2, 3, f), size_t(3));
    QCOMPARE(MainWindow::process_data(const_cast<char*>(data), 2, 3, nullptr), size_t(0));
    std::fclose(f);
    QFile in(QString::fromLocal8Bit(path));
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll(), QByteArray("abcdef"));
}

QTEST_MAIN(TestFileOps)
#include "test_fileops.moc"
