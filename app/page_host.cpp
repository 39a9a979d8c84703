#include "app/page_host.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <algorithm>

CPageHostDlg::CPageHostDlg(QWidget *parent) : QDialog(parent) {}

CPageHostDlg::~CPageHostDlg()
{
    DestroyAllPages();
}

void CPageHostDlg::SetPagePlaceholder(QWidget *placeholder)
{
    m_placeholder = placeholder;
    m_stack = new QGridLayout(placeholder);
    m_stack->setContentsMargins(0, 0, 0, 0);
}

bool CPageHostDlg::AddPage(int templateId)
{
    std::unique_ptr<CParameterPage> page = CreatePage(templateId);
    if (!page)
        return false;
    QWidget *area = m_placeholder ? m_placeholder : this;
    page->hide();
    page->setEnabled(false);
    page->setParent(area);
    page->InitPage(*this);
    if (m_stack) {
        m_stack->addWidget(page.get(), 0, 0);
        m_placeholder->setMinimumSize(
            m_placeholder->minimumSize().expandedTo(page->minimumSizeHint()));
    } else {
        page->move(0, 0);
    }
    // Tab moves from control to control on every page; within a list the
    // arrow keys move between the entries, so Tab never stays in it.
    for (QAbstractItemView *view : page->findChildren<QAbstractItemView *>())
        view->setTabKeyNavigation(false);
    page->setEnabled(true);
    m_pages.push_back({templateId, true, false, std::move(page)});
    m_pages.back().page->OnAfterCreate();
    return true;
}

bool CPageHostDlg::ShowPageByTemplate(int templateId)
{
    auto target =
        std::find_if(m_pages.begin(), m_pages.end(), [templateId](const HostedPage &entry) {
            return entry.templateId == templateId;
        });
    if (target == m_pages.end())
        return false;
    for (HostedPage &entry : m_pages) {
        if (entry.visible && &entry != &*target) {
            entry.page->OnPageHide();
            entry.page->hide();
            entry.visible = false;
        }
    }
    target->page->show();
    target->page->raise();
    target->page->update();
    target->visible = true;
    target->page->OnPageShow();
    OnPageShown(templateId);
    return true;
}

void CPageHostDlg::DestroyAllPages()
{
    // Taken out first, so that nothing reached from a hook finds a page
    // that is half gone.
    std::vector<HostedPage> pages = std::move(m_pages);
    m_pages.clear();
    for (HostedPage &entry : pages) {
        if (!entry.created)
            continue;
        entry.page->OnPageHide();
        entry.page->OnBeforeDestroy();
        entry.page.reset();
    }
}

CParameterPage *CPageHostDlg::FindPage(int templateId) const
{
    for (const HostedPage &entry : m_pages) {
        if (entry.templateId == templateId)
            return entry.page.get();
    }
    return nullptr;
}

CParameterPage *CPageHostDlg::VisiblePage() const
{
    for (const HostedPage &entry : m_pages) {
        if (entry.visible)
            return entry.page.get();
    }
    return nullptr;
}

int CPageHostDlg::VisibleTemplate() const
{
    const CParameterPage *page = VisiblePage();
    return page ? page->TemplateId() : 0;
}

bool CPageHostDlg::ValidateAllPages()
{
    m_refusedTemplate = 0;
    for (const HostedPage &entry : m_pages) {
        if (!entry.page->ValidatePage()) {
            m_refusedTemplate = entry.templateId;
            return false;
        }
    }
    return true;
}

void CPageHostDlg::SaveAllPagesToStore()
{
    for (const HostedPage &entry : m_pages)
        entry.page->SaveToStore();
}

std::vector<params::ReadShare> CPageHostDlg::AppendAllReadItems(ReadLists &lists)
{
    std::vector<params::ReadShare> shares;
    for (const HostedPage &entry : m_pages) {
        entry.page->AppendReadItems(lists);
        shares.push_back({entry.templateId, lists.numbers.size(), lists.AtQueryCount()});
    }
    return shares;
}

void CPageHostDlg::LoadAllPagesFromStore()
{
    for (const HostedPage &entry : m_pages)
        entry.page->LoadFromStore();
}
