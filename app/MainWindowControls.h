#pragma once

class OptionCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The controls of the main window, owned by its client area.
struct MainWindowControls
{
    QLabel *Label1 = nullptr;
    QLineEdit *txtSource = nullptr;
    QPushButton *cmdPicBrowse = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtResult = nullptr;
    QPushButton *cmdASCIIBrowse = nullptr;
    QLabel *Label3 = nullptr;
    QListWidget *lstL2D = nullptr;
    QPushButton *cmdAdd = nullptr;
    QLineEdit *txtL2D = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *cmbDetail = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QPushButton *cmdMake = nullptr;
    QLineEdit *txtSize = nullptr;
    QLabel *Label8 = nullptr;
    QProgressBar *Progress = nullptr;
    QPushButton *Command1 = nullptr;
    OptionCheckBox *oNP = nullptr;
    OptionCheckBox *iFR = nullptr;
    QStatusBar *sb = nullptr;
    QLabel *sbPanel1 = nullptr; // the phase
    QLabel *sbPanel2 = nullptr; // the percentage
    QPushButton *Command2 = nullptr;
};
