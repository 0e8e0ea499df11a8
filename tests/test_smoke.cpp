#include <QtTest>

#include "app/wfdb.h"

class TestSmoke : public QObject
{
    Q_OBJECT
private slots:
    void wfdbPathRoundTrip()
    {
        setwfdb(". /x http://y");
        QCOMPARE(QString(getwfdb()), QString(". /x http://y"));
        setwfdb(nullptr);
        QCOMPARE(QString(getwfdb()), QString());
    }
};

QTEST_MAIN(TestSmoke)
#include "test_smoke.moc"
