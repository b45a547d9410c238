#pragma once

#include <QImage>
#include <array>

class ImagePanel;
class Panel;
class PictureSurface;
class QComboBox;
class QLabel;
class QScrollBar;
class QTimer;
class QWidget;

// The child elements of a picture viewer control, by their names.
struct PicControlElements
{
    Panel *picFrame = nullptr;          // the viewport; clips picMain
    PictureSurface *picMain = nullptr;  // the picture surface, scrolled by moving it
    ImagePanel *picZoom = nullptr;      // the magnifying lens, a child of picMain
    Panel *picTools = nullptr;          // the tools panel
    ImagePanel *picPosition = nullptr;  // the overview of the whole picture
    ImagePanel *picInsert = nullptr;    // the marker of the part in view
    QLabel *Label5 = nullptr;
    QComboBox *Combo1 = nullptr;        // scroll speed
    QLabel *Label3 = nullptr;
    QComboBox *Combo2 = nullptr;        // lens size
    QLabel *Label2 = nullptr;
    QComboBox *Combo3 = nullptr;        // magnification
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;           // the picture size
    QScrollBar *HScroll1 = nullptr;     // the picture-size step
    QLabel *Image2 = nullptr;           // the tools panel's background
    Panel *picHolder = nullptr;         // the navigation strip
    Panel *picHolderInsert = nullptr;   // the button group
    QLabel *Image1 = nullptr;           // the button group's background
    std::array<ImagePanel *, 10> picButton{};
    std::array<QImage, 10> picUp;       // the normal faces
    std::array<QImage, 10> picDown;     // the pressed faces
    QTimer *tmrScrollLeft = nullptr;
    QTimer *tmrScrollRight = nullptr;
    QTimer *tmrScrollUp = nullptr;
    QTimer *tmrScrollDown = nullptr;
    QTimer *tmrZoom = nullptr;
    QTimer *tmrInsert = nullptr;
};

// Builds every element at its design place on `control`, as a newly placed control has them.
PicControlElements buildPicControlElements(QWidget *control);
