#pragma once
// The skinned buttons of the main window, in the palette's colours.
// Navigation buttons are checkable, one of them checked: the one of the page
// in front, which they show (and tell assistive technology) in the selected
// look. The main window switches pages at the mouse press, so they act on
// pressed(), not on clicked().

#include <QPushButton>

class NavButton : public QPushButton
{
    Q_OBJECT
public:
    explicit NavButton(const QString &text = {}, QWidget *parent = nullptr);

    bool IsSelected() const { return isChecked(); }
    void SetSelected(bool selected) { setChecked(selected); }

protected:
    void nextCheckState() override;
};

// The look of the operation buttons at the bottom of the main window.
void ApplyButtonSkin(QPushButton &button);
