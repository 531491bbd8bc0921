#include "search/SearchWindowView.h"

#include "platform/widgets/BoundWidget.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PlaylistTableView.h"
#include "search/ListBoxView.h"
#include "search/SearchWindow.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace tavlo {

namespace {

// The folder list's rows: the root down to the open folder, each indented
// by its depth, then the subfolders one step further in.
class FolderRows : public QAbstractListModel {
public:
    FolderRows(FolderListBox& list, const QIcon& open, const QIcon& closed, QObject* parent)
        : QAbstractListModel(parent), m_list(&list), m_open(open), m_closed(closed)
    {
        connect(&list, &FolderListBox::listChanged, this, [this] {
            beginResetModel();
            endResetModel();
        });
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_list ? 0 : m_list->rowCount();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_list || !index.isValid())
            return {};
        const int row = index.row();
        switch (role) {
        case Qt::DisplayRole: return QString(m_list->rowDepth(row) * 2, QLatin1Char(' ')) + m_list->rowText(row);
        case Qt::DecorationRole: return m_list->indexOfRow(row) < 0 ? m_open : m_closed;
        case Qt::ToolTipRole: return m_list->list(m_list->indexOfRow(row));
        default: return {};
        }
    }

private:
    QPointer<FolderListBox> m_list;
    QIcon m_open, m_closed;
};

QListView* folderView(FolderListBox& state, QWidget* parent)
{
    auto* view = new QListView(parent);
    view->setObjectName(state.name());
    view->setModel(new FolderRows(state, view->style()->standardIcon(QStyle::SP_DirOpenIcon),
                                  view->style()->standardIcon(QStyle::SP_DirClosedIcon), view));
    view->setUniformItemSizes(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPointer<FolderListBox> s(&state);
    auto showHighlight = [s, view] {
        if (!s)
            return;
        QSignalBlocker block(view->selectionModel());
        const QModelIndex at = view->model()->index(s->rowOfIndex(s->listIndex()), 0);
        view->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        view->scrollTo(at);
    };
    QObject::connect(&state, &FolderListBox::listIndexChanged, view, showHighlight);
    QObject::connect(&state, &FolderListBox::listChanged, view, showHighlight);
    showHighlight();
    // A click highlights; a double-click or Enter opens.
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view, [s](const QModelIndex& at) {
        if (s && at.isValid())
            s->setListIndex(s->indexOfRow(at.row()));
    });
    QObject::connect(view, &QAbstractItemView::activated, view, [s](const QModelIndex& at) {
        if (s && at.isValid())
            s->setPath(s->list(s->indexOfRow(at.row())));
    });
    WidgetBinder::bindFocus(state, *view);
    return view;
}

QComboBox* driveBox(DriveList& state, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(state.name());
    QPointer<DriveList> s(&state);
    auto sync = [s, box] {
        if (!s)
            return;
        QSignalBlocker block(box);
        box->clear();
        for (int i = 0; i < s->listCount(); ++i)
            box->addItem(s->list(i));
        box->setCurrentIndex(s->listIndex());
        WidgetBinder::applyCommon(*s, *box);
    };
    QObject::connect(&state, &DriveList::listChanged, box, sync);
    QObject::connect(&state, &Control::changed, box, sync);
    QObject::connect(box, &QComboBox::activated, box, [s, sync](int i) {
        if (s)
            s->setListIndex(i);
        sync();  // a volume that is not ready is set back
    });
    sync();
    return box;
}

// A panel's widget shows while its state says so.
void followVisibility(Control& state, QStackedWidget& stack, QWidget& whenShown, QWidget& otherwise)
{
    QPointer<Control> s(&state);
    auto sync = [s, &stack, &whenShown, &otherwise] {
        if (s)
            stack.setCurrentWidget(s->isVisible() ? &whenShown : &otherwise);
    };
    QObject::connect(&state, &Control::changed, &stack, sync);
    sync();
}

}  // namespace

SearchWindowView::SearchWindowView(SearchWindow& form, QWidget* parent) : FormDialog(form, form.closeButton, parent)
{
    auto* column = new QVBoxLayout(this);
    m_panels = new QStackedWidget(this);
    QWidget* criteria = buildCriteria(form);
    QWidget* results = buildResults(form);
    m_panels->addWidget(criteria);
    m_panels->addWidget(results);
    followVisibility(*form.resultsPanel, *m_panels, *results, *criteria);
    column->addWidget(m_panels, 1);

    auto* bottom = new QHBoxLayout;
    auto* help = boundWidget<QLabel>(*form.helpLabel, this);
    help->setWordWrap(true);
    bottom->addWidget(help, 1);
    auto* search = boundWidget<QPushButton>(*form.searchButton, this);
    auto* exit = boundWidget<QPushButton>(*form.closeButton, this);
    exit->setAutoDefault(false);
    auto followDefault = [search, &form] {
        search->setDefault(form.searchIsDefault());
        search->setAutoDefault(form.searchIsDefault());
    };
    connect(&form, &SearchWindow::defaultButtonChanged, search, followDefault);
    followDefault();
    bottom->addWidget(search, 0, Qt::AlignBottom);
    bottom->addWidget(exit, 0, Qt::AlignBottom);
    column->addLayout(bottom);

    // Shown as well: a close during a search only cancels it, and leaves the
    // form shown while the dialog went.
    connect(&form, &SearchWindow::broughtToFront, this, [this] {
        show();
        raise();
        activateWindow();
    });
    setMinimumSize(520, 420);
    new FormFollower(form, *this, FormFollower::Placement::PlaceAndSize);
}

QWidget* SearchWindowView::buildCriteria(SearchWindow& form)
{
    auto* panel = new QWidget(this);
    panel->setObjectName(form.criteriaPanel->name());
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* words = new QHBoxLayout;
    words->addWidget(boundWidget<QLabel>(*form.criteriaLabel, panel));
    words->addWidget(focusedTextBox(*form.maskBox, panel), 3);
    words->addWidget(focusedTextBox(*form.patternBox, panel), 2);
    grid->addLayout(words, 0, 0, 1, 2);
    grid->addWidget(driveBox(*form.driveList, panel), 1, 0);
    m_folders = folderView(*form.folderList, panel);
    grid->addWidget(m_folders, 2, 0);
    m_files = new ListBoxView(*form.fileList, [&form] { return form.fileListDragPaths(); }, panel);
    grid->addWidget(m_files, 1, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    return panel;
}

QWidget* SearchWindowView::buildResults(SearchWindow& form)
{
    auto* panel = new QWidget(this);
    panel->setObjectName(form.resultsPanel->name());
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    auto* find = new QHBoxLayout;
    find->addWidget(boundWidget<QCheckBox>(*form.readTagsCheck, panel));
    find->addWidget(focusedTextBox(*form.findBox, panel), 1);
    find->addWidget(boundWidget<QCheckBox>(*form.titlesOnlyCheck, panel));
    column->addLayout(find);

    m_resultLists = new QStackedWidget(panel);
    m_found = new ListBoxView(*form.foundFiles, [&form] { return form.foundFilesDragPaths(); }, m_resultLists);
    m_clips = new PlaylistTableView(*form.foundRows, m_resultLists);
    m_resultLists->addWidget(m_found);
    m_resultLists->addWidget(m_clips);
    followVisibility(*form.foundFiles, *m_resultLists, *m_found, *m_clips);
    column->addWidget(m_resultLists, 1);

    auto* count = new QHBoxLayout;
    count->addStretch(1);
    auto* number = boundWidget<QLabel>(*form.countLabel, panel);
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral(" 0000000")));
    count->addWidget(number);
    count->addWidget(boundWidget<QLabel>(*form.foundLabel, panel));
    column->addLayout(count);
    return panel;
}

}  // namespace tavlo
