#include "FakePlatform.h"
#include "OptionCheckBox.h"
#include "TestFolder.h"
#include "frmASCII.h"

#include <QTest>
#include <memory>

// The two option boxes and their values in the settings store.
class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void restoredFromTheStore_data();
    void restoredFromTheStore();
    void everyChangeIsSaved();
    void survivesARestart();

private:
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TestFolder> folder;
};

void TestOptions::init()
{
    platform = std::make_unique<FakePlatform>();
    folder = std::make_unique<TestFolder>();
    platform->folder = folder->path(QString());
}

void TestOptions::cleanup()
{
    folder.reset();
    platform.reset();
}

void TestOptions::restoredFromTheStore_data()
{
    // A null text stands for a missing key.
    QTest::addColumn<QString>("checks");
    QTest::addColumn<QString>("checksFR");
    QTest::addColumn<int>("openBox");
    QTest::addColumn<int>("reminderBox");
    QTest::addColumn<int>("writes");
    QTest::newRow("first start") << QString() << QString() << 1 << 1 << 0;
    QTest::newRow("reminder off") << QString() << "0" << 1 << 0 << 1;
    QTest::newRow("both off") << "0" << "0" << 0 << 0 << 2;
    QTest::newRow("both on") << "1" << "1" << 1 << 1 << 0;
    QTest::newRow("greyed") << "2" << "2" << 2 << 2 << 2;
    QTest::newRow("words ignored") << "yes" << "off" << 1 << 1 << 0;
    QTest::newRow("other numbers ignored") << "3" << "-1" << 1 << 1 << 0;
    QTest::newRow("beyond 16 bits ignored") << "65536" << "1.5" << 1 << 1 << 0;
    QTest::newRow("blanks around a number") << " 0 " << "" << 0 << 1 << 1;
}

void TestOptions::restoredFromTheStore()
{
    QFETCH(QString, checks);
    QFETCH(QString, checksFR);
    QFETCH(int, openBox);
    QFETCH(int, reminderBox);
    QFETCH(int, writes);
    if (!checks.isNull())
        platform->store.insert(FakePlatform::storeKey(QStringLiteral("Checks")), checks);
    if (!checksFR.isNull())
        platform->store.insert(FakePlatform::storeKey(QStringLiteral("ChecksFR")), checksFR);
    const QMap<QString, QString> storedBefore = platform->store;

    frmASCII window(*platform);
    QCOMPARE(window.controls().oNP->value(), openBox);
    QCOMPARE(window.controls().iFR->value(), reminderBox);
    // A restored change is written back, which leaves the stored number as it was.
    QCOMPARE(platform->storeWrites, writes);
    for (const QString &key : platform->store.keys())
        QCOMPARE(platform->store.value(key).trimmed(), storedBefore.value(key).trimmed());
}

void TestOptions::everyChangeIsSaved()
{
    frmASCII window(*platform);
    OptionCheckBox *open = window.controls().oNP;
    OptionCheckBox *reminder = window.controls().iFR;
    open->click();
    QCOMPARE(platform->store.value(FakePlatform::storeKey(QStringLiteral("Checks"))), "0");
    QVERIFY(!platform->store.contains(FakePlatform::storeKey(QStringLiteral("ChecksFR"))));
    reminder->setValue(2);
    QCOMPARE(platform->store.value(FakePlatform::storeKey(QStringLiteral("ChecksFR"))), "2");
    reminder->click();
    QCOMPARE(platform->store.value(FakePlatform::storeKey(QStringLiteral("ChecksFR"))), "1");
    open->click();
    QCOMPARE(platform->store.value(FakePlatform::storeKey(QStringLiteral("Checks"))), "1");
    QCOMPARE(platform->storeWrites, 4);
}

void TestOptions::survivesARestart()
{
    {
        frmASCII window(*platform);
        window.controls().iFR->click();
    }
    frmASCII window(*platform);
    QCOMPARE(window.controls().oNP->value(), 1);
    QCOMPARE(window.controls().iFR->value(), 0);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
