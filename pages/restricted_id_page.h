#pragma once
// Hides the caller's identity on outgoing calls (16546).

#include "pages/switch_page.h"

class CRestrictedIdPage : public SwitchPage
{
    Q_OBJECT
public:
    explicit CRestrictedIdPage(QWidget *parent = nullptr);
};
