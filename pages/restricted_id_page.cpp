#include "pages/restricted_id_page.h"

namespace {
const SwitchPage::Switch kRestrictedId{
    params::Page::RestrictedId,
    {"Enable Restricted ID", "Habilitar ocultar ID", "Habilitar ocultar ID"},
    params::Slot::RestrictedId};
} // namespace

CRestrictedIdPage::CRestrictedIdPage(QWidget *parent) : SwitchPage(kRestrictedId, parent) {}
