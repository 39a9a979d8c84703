#pragma once
// A dialog that hosts parameter pages: it keeps them in the order they were
// added (page order), stacks them in a placeholder whose whole room the page
// in front takes, shows one at a time, and runs the four page operations
// over all of them.
// Which object serves a template id is up to the derived window's factory.

#include "pages/page_services.h"
#include "pages/parameter_page.h"
#include "params/read_lists.h"

#include <QDialog>
#include <QPointer>
#include <memory>
#include <vector>

class QGridLayout;

class CPageHostDlg : public QDialog, public IPageServices
{
    Q_OBJECT
public:
    explicit CPageHostDlg(QWidget *parent = nullptr);
    ~CPageHostDlg() override;

    // The page factory: the page object for a template id, nullptr for none.
    virtual std::unique_ptr<CParameterPage> CreatePage(int templateId) = 0;

    // Creates the page, initialises it as a hidden child of the placeholder
    // (which from now on is never smaller than the page needs), enables it
    // and calls its after-creation hook. false when the factory has no page
    // for the id.
    bool AddPage(int templateId);
    // Hides the visible page (hide hook), shows this one (show hook) and
    // reports it through OnPageShown. false when no page has the id.
    bool ShowPageByTemplate(int templateId);
    // For each page: hide hook, before-destruction hook, destruction.
    void DestroyAllPages();

    CParameterPage *FindPage(int templateId) const;
    CParameterPage *VisiblePage() const;
    int VisibleTemplate() const; // 0 when none is visible
    size_t PageCount() const { return m_pages.size(); }

    // The passes over all pages, in page order.
    bool ValidateAllPages(); // stops at the first page that refuses
    // The page that refused in the last validation pass, 0 when none did.
    int RefusedTemplate() const { return m_refusedTemplate; }
    void SaveAllPagesToStore();
    // Each page's share of the lists, named by its template id.
    std::vector<params::ReadShare> AppendAllReadItems(ReadLists &lists);
    void LoadAllPagesFromStore();

protected:
    // Where the pages are stacked; set before the first page is added.
    void SetPagePlaceholder(QWidget *placeholder);
    // A page has come to the front.
    virtual void OnPageShown(int templateId) { (void)templateId; }

private:
    struct HostedPage
    {
        int templateId = 0;
        bool created = false;
        bool visible = false;
        std::unique_ptr<CParameterPage> page;
    };

    std::vector<HostedPage> m_pages;
    QWidget *m_placeholder = nullptr;
    // Every page in the one cell of the placeholder's grid; only the page
    // shown takes part in the layout.
    QPointer<QGridLayout> m_stack;
    int m_refusedTemplate = 0;
};
