#pragma once
// An interim page, one class for all eleven templates until each page has its
// own: made from the parameter catalogue, it shows every slot of its page as
// a label and an edit field, the page's list (if any) as a two-column table,
// and the store integers that decide what the page exports. It stores and
// loads the texts as typed and checks nothing.

#include "pages/parameter_page.h"
#include "params/catalogue.h"
#include "params/parameter_store.h"

#include <vector>

class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

class CInterimPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CInterimPage(params::Page page, QWidget *parent = nullptr);

    params::Page CataloguePage() const { return m_page; }

    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    // For tests and the user alike: the field of a slot (nullptr when the
    // slot is not on this page) and the list table (nullptr without a list).
    QLineEdit *FieldOf(params::Slot slot) const;
    QTableWidget *ListTable() const { return m_list; }

protected:
    void OnInitPage() override;

private:
    struct SlotField
    {
        params::Slot slot;
        QLineEdit *edit;
    };
    struct IntegerField
    {
        int ParameterStore::*member;
        QSpinBox *box;
    };

    void BuildFields();
    std::string *ListEntry(size_t row);
    size_t ListSize() const;

    const params::Page m_page;
    const params::ListInfo *m_listInfo = nullptr;
    std::vector<SlotField> m_fields;
    std::vector<IntegerField> m_integers;
    QTableWidget *m_list = nullptr;
    QLabel *m_title = nullptr;
};
