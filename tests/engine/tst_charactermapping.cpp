#include "CharacterMapping.h"

#include <QTest>

namespace {

QString charactersOfGreys(const QString &ramp, std::vector<quint8> greys)
{
    return assembleRow(greys, buildRampTables(ramp));
}

} // namespace

class TestCharacterMapping : public QObject
{
    Q_OBJECT

private slots:
    void bandLimits_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("limits");
        QTest::newRow("1") << 1 << QList<int>{0, 256};
        QTest::newRow("2: 127.5 goes to 128") << 2 << QList<int>{0, 128, 256};
        QTest::newRow("3") << 3 << QList<int>{0, 85, 170, 256};
        QTest::newRow("4") << 4 << QList<int>{0, 64, 128, 191, 256};
        QTest::newRow("5") << 5 << QList<int>{0, 51, 102, 153, 204, 256};
        QTest::newRow("10: halves go to the even neighbour") << 10 << QList<int>{0, 26, 51, 76, 102, 128, 153, 178, 204, 230, 256};
        QTest::newRow("16") << 16 << QList<int>{0, 16, 32, 48, 64, 80, 96, 112, 128, 143, 159, 175, 191, 207, 223, 239, 256};
    }
    void bandLimits()
    {
        QFETCH(int, length);
        QFETCH(QList<int>, limits);
        const RampTables tables = buildRampTables(QString(length, u'x'));
        QCOMPARE(QList<int>(tables.rampLimit.begin(), tables.rampLimit.end()), limits);
    }

    void longRampsShareLimits()
    {
        // More characters than greys: some bands are empty and their characters never drawn.
        const RampTables tables = buildRampTables(QString(300, u'x'));
        QCOMPARE(QList<int>(tables.rampLimit.begin(), tables.rampLimit.begin() + 5), (QList<int>{0, 1, 2, 3, 3}));
        QCOMPARE(tables.rampLimit.back(), 256);
        QVERIFY(std::is_sorted(tables.rampLimit.begin(), tables.rampLimit.end()));
        for (int grey = 0; grey < 256; ++grey)
            QVERIFY(tables.bandOfGrey[grey] >= 0);
    }

    void greysToCharacters_data()
    {
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<std::vector<quint8>>("greys");
        QTest::addColumn<QString>("row");
        const QString four = QStringLiteral(" .:#");
        QTest::newRow("darkest band") << four << std::vector<quint8>{0, 63} << QStringLiteral("##");
        QTest::newRow("second band") << four << std::vector<quint8>{64, 127} << QStringLiteral("::");
        QTest::newRow("third band") << four << std::vector<quint8>{128, 190} << QStringLiteral("..");
        QTest::newRow("lightest band, 255 included") << four << std::vector<quint8>{191, 255} << QStringLiteral("  ");
        QTest::newRow("one character takes every grey") << QStringLiteral("@") << std::vector<quint8>{0, 128, 255} << QStringLiteral("@@@");
        QTest::newRow("a repeated character keeps both bands") << QStringLiteral("aa") << std::vector<quint8>{0, 255} << QStringLiteral("aa");
        QTest::newRow("characters outside the basic plane stay whole")
            << QStringLiteral(" \U0001F600") << std::vector<quint8>{0, 255} << QStringLiteral("\U0001F600 ");
    }
    void greysToCharacters()
    {
        QFETCH(QString, ramp);
        QFETCH(std::vector<quint8>, greys);
        QFETCH(QString, row);
        QCOMPARE(charactersOfGreys(ramp, greys), row);
    }

    void emptyRampGivesEmptyRows()
    {
        QCOMPARE(charactersOfGreys(QString(), {0, 100, 255}), QString());
    }
};

QTEST_APPLESS_MAIN(TestCharacterMapping)
#include "tst_charactermapping.moc"
