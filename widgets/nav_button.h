#pragma once
// The skinned buttons of the main window. Navigation buttons have a normal
// and a selected look; the main window switches them at the mouse press,
// so they act on pressed(), not on clicked().

#include <QPushButton>

class CNavButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(bool selected READ IsSelected WRITE SetSelected)
public:
    explicit CNavButton(const QString &text = {}, QWidget *parent = nullptr);

    bool IsSelected() const { return m_selected; }
    void SetSelected(bool selected);

private:
    bool m_selected = false;
};

// The look of the operation buttons at the bottom of the main window.
void ApplyButtonSkin(QPushButton &button);
