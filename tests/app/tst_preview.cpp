#include "ArtFile.h"
#include "FakePlatform.h"
#include "ImagePanel.h"
#include "PicControl.h"
#include "PictureSurface.h"
#include "PictureLoader.h"
#include "frmASCII.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The preview window behind "View Your Selected Picture".
class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void opensWithTheStoredSet();
    void reopenedWhileOpen();
    void freshAfterClosing();
    void pictureThatDoesNotLoad();
    void artPreview();

private:
    // Presses "View Your Selected Picture" for `path` and waits for its picture.
    pp *view(const QString &path);

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<frmASCII> window;
};

namespace {

const QString photo = QStringLiteral(GLYPHSMITH_TEST_DATA "/good/photo.jpg");
const QString rotated = QStringLiteral(GLYPHSMITH_TEST_DATA "/good/rotated.jpg");

} // namespace

void TestPreview::init()
{
    window.reset();
    platform = std::make_unique<FakePlatform>();
    window = std::make_unique<frmASCII>(*platform);
}

pp *TestPreview::view(const QString &path)
{
    window->controls().txtSource->setText(path);
    window->Command2_Click();
    pp *preview = window->preview();
    QSignalSpy done(preview, &pp::pictureDone);
    if (!path.isEmpty() && done.isEmpty())
        done.wait(10000);
    return preview;
}

void TestPreview::opensWithTheStoredSet()
{
    pp *preview = view(rotated);
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->windowTitle(), QStringLiteral("Preview Picture"));
    PicControl &control = *preview->PC1();
    // Loaded as a conversion loads it: turned upright.
    QCOMPARE(control.Picture().size(), PictureLoader::load(rotated)->size());
    QCOMPARE(control.size(), preview->size() - QSize(1, 1));
    QCOMPARE(control.ScrollSpeed(), qint16(10));
    QCOMPARE(control.BorderStyle(), 0);
    QCOMPARE(control.Appearance(), 0);
    QCOMPARE(control.BackColor(), OleColors::buttonFace);
    // Shown, the lens settings are the lists' texts: the stored 1.5 does not survive.
    QCOMPARE(control.state().mMagnify, 2.0f);
    QCOMPARE(control.TipTextMagnifier(), QStringLiteral("2.0x Magnification. Right Click To Close"));
    QCOMPARE(control.elements().picZoom->Width(), 67.0f);
    QVERIFY(platform->messages.isEmpty());

    // No picture chosen: the empty viewer, without a message.
    init();
    preview = view(QString());
    QVERIFY(preview->PC1()->Picture().isNull());
    QVERIFY(preview->PC1()->elements().picMain->isHidden());
    QVERIFY(platform->messages.isEmpty());
}

void TestPreview::reopenedWhileOpen()
{
    pp *first = view(photo);
    PicControl &control = *first->PC1();
    control.setScrollSpeed(150);
    control.elements().Combo2->setEditText(QStringLiteral("Medium"));
    control.elements().HScroll1->setValue(5);
    QCOMPARE(view(rotated), first);
    QCOMPARE(control.ScrollSpeed(), qint16(150));
    QCOMPARE(control.LenzSize(), 1);
    QCOMPARE(control.elements().HScroll1->value(), 2);
    QCOMPARE(control.Picture().size(), PictureLoader::load(rotated)->size());
}

void TestPreview::freshAfterClosing()
{
    view(photo)->PC1()->setScrollSpeed(150);
    window->preview()->close();
    QTRY_VERIFY(!window->preview());
    pp *again = view(photo);
    QCOMPARE(again->PC1()->ScrollSpeed(), qint16(10));
    QVERIFY(!again->PC1()->Picture().isNull());
}

void TestPreview::pictureThatDoesNotLoad()
{
    pp *preview = view(photo);
    const QImage shown = preview->PC1()->Picture();
    view(QStringLiteral(GLYPHSMITH_TEST_DATA "/bad/no-such-picture.jpg"));
    QCOMPARE(platform->messages, QStringList{"Glyphsmith: The Source Picture Could Not Be Loaded"});
    QCOMPARE(preview->PC1()->Picture(), shown);
}

void TestPreview::artPreview()
{
    QTemporaryDir dir;
    QFile ramps(dir.filePath(QStringLiteral("Formats.TXT")));
    QVERIFY(ramps.open(QIODevice::WriteOnly) && ramps.write(" .:#\r\n") == 6);
    ramps.close();
    platform->folder = dir.path();
    window = std::make_unique<frmASCII>(*platform);
    const QString art = dir.filePath(QStringLiteral("art.rtf"));
    QAction *item = window->findChild<QAction *>(QStringLiteral("mnuArtPreview"));
    window->controls().txtResult->setText(art);
    QVERIFY(!item->isEnabled()); // no such file yet
    QFile(art).open(QIODevice::WriteOnly);
    window->controls().txtResult->setText(photo); // a file, but not art
    QVERIFY(!item->isEnabled());

    window->controls().txtSource->setText(photo);
    window->controls().txtResult->setText(art);
    window->controls().cmbDetail->setCurrentText(QStringLiteral("4"));
    window->cmdMake_Click();
    QVERIFY(item->isEnabled());
    item->trigger();
    pp *preview = window->artPreview();
    QVERIFY(preview && preview != window->preview());
    QCOMPARE(preview->windowTitle(), QStringLiteral("Preview ASCII Picture"));
    QSignalSpy done(preview, &pp::pictureDone);
    QVERIFY(done.wait(10000));
    // The art is drawn at the detail the file records: 3 x 5 pixels a character at detail 4.
    const std::optional<ArtFile> rows = readArtFile(art);
    QCOMPARE(preview->PC1()->Picture().size(), QSize(int(rows->rows.first().size()) * 3, int(rows->rows.size()) * 5));
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
