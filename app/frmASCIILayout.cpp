#include "app/frmASCIILayout.h"

#include "app/OptionCheckBox.h"
#include "app/RunTexts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <cmath>

namespace {

// The window was drawn with fonts that many systems lack. The stand-ins are no wider than the
// originals, since the labels were sized to their texts and would clip a wider font.
QFont fontOf(const QStringList &families, qreal points, QFont::StyleHint hint, bool bold = false)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont windowFont(qreal points = 9.75, bool bold = false)
{
    return fontOf({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")},
                  points, QFont::SansSerif, bold);
}

QFont fieldFont()
{
    return fontOf({QStringLiteral("Consolas"), QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}, 9.75,
                  QFont::Monospace);
}

QFont rampFont()
{
    return fontOf({QStringLiteral("Lucida Console"), QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}, 7.5,
                  QFont::Monospace);
}

template<typename Widget>
Widget *place(QWidget *client, const char *name, int left, int top, int width, int height)
{
    auto *widget = new Widget(client);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return widget;
}

QLabel *label(QWidget *client, const char *name, const QString &text, int left, int top, int width, int height)
{
    auto *widget = place<QLabel>(client, name, left, top, width, height);
    widget->setText(text);
    return widget;
}

QPushButton *button(QWidget *client, const char *name, const QString &text, int left, int top, int width, int height)
{
    auto *widget = place<QPushButton>(client, name, left, top, width, height);
    widget->setText(text);
    widget->setAutoDefault(false);
    return widget;
}

QLineEdit *field(QWidget *client, const char *name, int left, int top, int width, int height)
{
    auto *widget = place<QLineEdit>(client, name, left, top, width, height);
    widget->setFont(fieldFont());
    // The window takes dropped pictures; a box would paste the file's name as text instead.
    widget->setAcceptDrops(false);
    return widget;
}

OptionCheckBox *option(QWidget *client, const char *name, const QString &text, int left, int top, int width, int height)
{
    auto *widget = place<OptionCheckBox>(client, name, left, top, width, height);
    widget->setText(text);
    widget->setCheckState(Qt::Checked);
    return widget;
}

QLabel *statusPanel(QStatusBar *bar, const char *name, int widthTwips)
{
    auto *panel = new QLabel(bar);
    panel->setObjectName(QLatin1String(name));
    panel->setFixedWidth(twips(widthTwips));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    bar->addWidget(panel);
    return panel;
}

void buildStatusBar(QWidget *client, MainWindowControls &c)
{
    c.sb = place<QStatusBar>(client, "sb", 0, 7065, 8535, 330);
    c.sb->setSizeGripEnabled(false);
    c.sbPanel1 = statusPanel(c.sb, "sbPanel1", 3000);
    c.sbPanel1->setText(RunTexts::ready);
    c.sbPanel2 = statusPanel(c.sb, "sbPanel2", 6000);
}

void buildPathRows(QWidget *client, MainWindowControls &c)
{
    c.Label1 = label(client, "Label1", QStringLiteral("Source Picture:"), 120, 840, 1410, 270);
    c.txtSource = field(client, "txtSource", 1680, 840, 5415, 288);
    c.txtSource->setReadOnly(true);
    c.cmdPicBrowse = button(client, "cmdPicBrowse", QStringLiteral("Browse"), 7200, 780, 1215, 375);
    c.Label2 = label(client, "Label2", QStringLiteral("Save ASCII Image as:"), 120, 1200, 2025, 270);
    c.txtResult = field(client, "txtResult", 120, 1560, 6975, 288);
    c.txtResult->setReadOnly(true);
    c.cmdASCIIBrowse = button(client, "cmdASCIIBrowse", QStringLiteral("Browse"), 7200, 1560, 1215, 375);
}

void buildRampRows(QWidget *client, MainWindowControls &c)
{
    c.Label3 = label(client, "Label3", QStringLiteral("Select The Characters For Your ASCII Art:"), 120, 1920, 3990, 270);
    c.lstL2D = place<QListWidget>(client, "lstL2D", 120, 2280, 8295, 1950);
    c.cmdAdd = button(client, "cmdAdd", QStringLiteral("Add:"), 0, 8640, 735, 375);
    c.cmdAdd->hide();
    c.txtL2D = field(client, "txtL2D", 840, 8640, 7455, 315);
    c.txtL2D->setFont(rampFont());
    c.txtL2D->hide();
    c.Label4 = label(client, "Label4",
                     QStringLiteral("Take any picture and chuck it in Glyphsmith to generate a pure ASCII text image that "
                                    "you can show off! Get started choosing your image now!"),
                     120, 45, 8175, 675);
    c.Label4->setFont(windowFont(11.25));
    c.Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c.Label4->setWordWrap(true);
}

void buildRunRows(QWidget *client, MainWindowControls &c)
{
    c.cmbDetail = place<QComboBox>(client, "cmbDetail", 840, 5160, 1215, 345);
    c.cmbDetail->setFont(fieldFont());
    c.cmbDetail->setEditable(false);
    c.Label5 = label(client, "Label5", QStringLiteral("Detail:"), 120, 5160, 600, 270);
    c.Label6 = label(client, "Label6", QStringLiteral("(The Larger The Number, The Less Detail and Characters)"), 2160, 5160, 5280, 270);
    c.Label7 = label(client, "Label7", QStringLiteral("Picture Size:"), 120, 4800, 1170, 270);
    c.cmdMake = button(client, "cmdMake", QStringLiteral("Make ASCII Picture"), 120, 5640, 8295, 615);
    c.cmdMake->setFont(windowFont(9.75, true));
    c.txtSize = field(client, "txtSize", 1560, 4800, 495, 288);
    c.txtSize->setText(QStringLiteral("1"));
    c.txtSize->setAlignment(Qt::AlignCenter);
    c.txtSize->setMaxLength(3);
    c.Label8 = label(client, "Label8", QStringLiteral("(1 Is Normal Size; Supports Decimals And #'s Under Zero)"), 2160, 4800, 5385, 270);
    c.Progress = place<QProgressBar>(client, "Progress", 120, 5760, 8295, 495);
    c.Progress->setRange(0, 100);
    c.Progress->setValue(0);
    c.Progress->setTextVisible(false); // a bare bar: the percentage is already in the status bar
    c.Progress->hide();
    c.Command1 = button(client, "Command1", QStringLiteral("Light To Dark Creator"), 0, 9120, 8295, 375);
    c.Command1->hide();
    c.oNP = option(client, "oNP", QStringLiteral("Open File In Notepad After It's Generated"), 120, 6360, 4455, 390);
    c.iFR = option(client, "iFR", QStringLiteral("Include A Friendly Font Reminder"), 120, 6720, 3495, 270);
    buildStatusBar(client, c);
    c.Command2 = button(client, "Command2", QStringLiteral("View Your Selected Picture"), 120, 4320, 8295, 375);
}

void setTabOrder(const MainWindowControls &c)
{
    // The picture is looked at right after it is chosen, before the rest of the form is filled in.
    const QList<QWidget *> order{c.txtSource, c.cmdPicBrowse, c.Command2, c.txtResult, c.cmdASCIIBrowse, c.lstL2D, c.cmdAdd,
                                 c.txtL2D,    c.cmbDetail,    c.cmdMake,  c.txtSize,   c.Command1,       c.oNP,    c.iFR};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace

int twips(int value) { return int(std::nearbyint(value / 15.0)); }

MainWindowControls buildMainWindowControls(QWidget *client)
{
    client->setFont(windowFont());
    client->setFixedSize(twips(clientWidthTwips), twips(clientHeightTwips));
    MainWindowControls c;
    buildPathRows(client, c);
    buildRampRows(client, c);
    buildRunRows(client, c);
    setTabOrder(c);
    return c;
}
