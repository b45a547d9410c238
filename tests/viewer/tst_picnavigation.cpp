#include "ViewerFixture.h"
#include <QTest>
class tst_PicNavigation : public QObject { Q_OBJECT private slots: void placeholder() { QVERIFY(true); } };
QTEST_MAIN(tst_PicNavigation)
#include "tst_picnavigation.moc"
