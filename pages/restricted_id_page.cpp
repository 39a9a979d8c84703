#include "pages/restricted_id_page.h"

namespace {
// The terminal takes this switch as "1"/"0", unlike most others.
const CSwitchPage::Switch kRestrictedId{
    params::Page::RestrictedId,
    {"Enable Restricted ID", "Habilitar ocultar ID", "Habilitar ocultar ID"},
    params::Slot::RestrictedId,
    "1",
    "0"};
} // namespace

CRestrictedIdPage::CRestrictedIdPage(QWidget *parent) : CSwitchPage(kRestrictedId, parent) {}
