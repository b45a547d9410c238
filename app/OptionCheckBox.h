#pragma once

#include <QCheckBox>

// A check box whose stored value may be the greyed third state, while a click by the user
// only ever toggles between checked and unchecked.
class OptionCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    // 0 unchecked, 1 checked, 2 greyed.
    int value() const;
    // Values other than 0, 1 and 2 are ignored; whether the value was taken.
    bool setValue(int value);

protected:
    void nextCheckState() override;
};
