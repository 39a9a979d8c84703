#include "pages/polarity_page.h"

namespace {
const SwitchPage::Switch kPolarity{params::Page::Polarity,
                                   {"Enable Polarity Inversion", "Habilitar inversão de polaridade",
                                    "Habilitar inversión de polaridad"},
                                   params::Slot::PolarityInversion};
} // namespace

CPolarityPage::CPolarityPage(QWidget *parent) : SwitchPage(kPolarity, parent) {}
