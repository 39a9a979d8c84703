#pragma once
// Line polarity inversion (16001).

#include "pages/switch_page.h"

class CPolarityPage : public SwitchPage
{
    Q_OBJECT
public:
    explicit CPolarityPage(QWidget *parent = nullptr);
};
