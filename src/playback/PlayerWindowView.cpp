#include "playback/PlayerWindowView.h"

#include "playlist/PlaylistTableView.h"
#include "platform/widgets/FormFollower.h"
#include "platform/widgets/WidgetBinder.h"
#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/Slider.h"
#include "platform/controls/TextBox.h"
#include "playback/PlayerWindow.h"
#include "playlist/PlaylistModel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

namespace tavlo {

namespace {

const char* const kTransitionNames[] = {"Cross Dissolve", "Up Down", "Down  Up", "Mix", "Cut"};

void add(QBoxLayout& layout, QWidget* widget, int stretch = 0, Qt::Alignment align = {})
{
    if (widget)
        layout.addWidget(widget, stretch, align);
}

void put(QGridLayout& grid, QWidget* widget, int row, int column, int rowSpan = 1, int columnSpan = 1,
         Qt::Alignment align = {})
{
    if (widget)
        grid.addWidget(widget, row, column, rowSpan, columnSpan, align);
}

QHBoxLayout* row(QBoxLayout& parent)
{
    auto* r = new QHBoxLayout;
    r->setSpacing(6);
    parent.addLayout(r);
    return r;
}

// Keeps a value label from changing width, and so moving its neighbours, as its text changes.
void reserveWidth(QLabel* label, const QString& widest)
{
    if (!label)
        return;
    QFont f = label->font();
    f.setBold(true);  // the window may make it bold later
    label->setMinimumWidth(QFontMetrics(f).horizontalAdvance(widest) + 4);
}

QWidget* container(QWidget* parent, QLayout* layout)
{
    auto* w = new QWidget(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    w->setLayout(layout);
    return w;
}

}  // namespace

PlayerWindowView::PlayerWindowView(Form& form, QWidget* parent) : QMainWindow(parent), m_form(&form)
{
    setObjectName(form.objectName());
    m_menus = WidgetBinder::bindMenuBar(form, *menuBar());

    // No layout manager here: the window logic says where the list, the
    // panel and the progress bar go (placePanes).
    auto* central = new QWidget(this);
    m_panelParent = central;
    m_insertControls = buildInsertControls();
    if (auto* model = form.findChild<PlaylistModel*>(QStringLiteral("clipList")))
        m_list = new PlaylistTableView(*model, central);
    // Claimed before the panel, whose last rows take every control left over.
    m_progress = bar(QStringLiteral("loadProgressBar"));
    // The stream's state, where the window has one, goes at the status bar's right end.
    QLabel* streamState = label(QStringLiteral("streamingStatusLabel"));
    m_panel = buildPanel();
    m_panel->setParent(central);
    setCentralWidget(central);
    central->installEventFilter(this);

    if (auto* status = claim<StatusBar>(QStringLiteral("statusBar"))) {
        statusBar()->setObjectName(status->name());
        WidgetBinder::bind(*status, *statusBar());
    }
    if (streamState)
        statusBar()->addPermanentWidget(streamState);

    // A right click on the list makes the window ask for its "&List" menu
    // at the pointer (x, y in pixels of the list's viewport).
    if (auto* player = qobject_cast<PlayerWindow*>(&form)) {
        connect(player, &PlayerWindow::popupMenu, this, [this](MenuItem* item, int x, int y) {
            QMenu* m = item ? menu(item->name()) : nullptr;
            if (m)
                m->popup(m_list ? m_list->viewport()->mapToGlobal(QPoint(x, y)) : QCursor::pos());
        });
    }

    m_follower = new FormFollower(form, *this, FormFollower::Placement::PlaceAndSize);
    if (auto* player = qobject_cast<PlayerWindow*>(&form))
        connect(player, &PlayerWindow::layoutChanged, this, &PlayerWindowView::placePanes);
    placePanes();
}

PlayerWindowView::~PlayerWindowView() = default;

void PlayerWindowView::placePanes()
{
    auto* player = qobject_cast<PlayerWindow*>(m_form.data());
    QWidget* central = centralWidget();
    if (!central || !m_follower)  // still being built
        return;
    const PlayerLayout l = player ? player->layout() : PlayerLayout{};
    const auto px = [this](int twips) { return m_follower->px(twips); };
    const int left = px(l.listLeft);
    const int width = px(l.listWidth);
    int panelTop = px(l.panelTop);
    const int panelHeight = px(l.panelHeight);
    int listHeight = px(l.listHeight);
    // Where the desktop's frame and bars take more than the window's margin
    // allows, the panel moves up (the list giving way) rather than slip
    // under the status bar.
    if (const int over = panelTop + panelHeight - central->height(); over > 0 && central->height() > 0) {
        const int shift = std::min(over, listHeight);
        panelTop -= shift;
        listHeight -= shift;
    }
    if (m_insertControls)
        m_insertControls->setGeometry(left, 0, width, px(l.listTop));
    if (m_list)
        m_list->setGeometry(left, px(l.listTop), width, listHeight);
    m_panel->setGeometry(left, panelTop, width, panelHeight);
    if (m_progress) {
        const int h = std::min(m_progress->sizeHint().height(), m_progress->maximumHeight());
        m_progress->setGeometry(left, std::min(px(l.progressTop), central->height() - h), width, h);
    }
}

bool PlayerWindowView::eventFilter(QObject* watched, QEvent* event)
{
    // The central area settles its size after the window's; the panel's
    // fallback above depends on it.
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        placePanes();
    return QMainWindow::eventFilter(watched, event);
}

template <typename T>
T* PlayerWindowView::claim(const QString& name)
{
    T* control = m_form ? m_form->findChild<T*>(name) : nullptr;
    if (!control || m_claimed.contains(control))
        return nullptr;
    m_claimed.insert(control);
    return control;
}

QWidget* PlayerWindowView::buildPanel()
{
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("Picture1"));
    m_panelParent = panel;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    add(*layout, buildTransport());
    add(*layout, buildLevels());
    m_options = buildOptions();
    add(*layout, m_options);
    layout->addStretch(1);
    followShowOptions();
    return panel;
}

QWidget* PlayerWindowView::buildTransport()
{
    auto* r = new QHBoxLayout;
    r->setSpacing(4);
    for (const char* name : {"playButton", "stopButton", "pauseButton", "backButton", "nextButton"}) {
        if (QAbstractButton* b = button(QLatin1String(name))) {
            b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
            r->addWidget(b, 1);
        }
    }
    r->addSpacing(6);
    QLabel* status = label(QStringLiteral("statusLabel"), Qt::AlignCenter);
    reserveWidth(status, QStringLiteral("Pause"));
    add(*r, status);
    add(*r, button(QStringLiteral("showOptionsButton"), true));
    return container(m_panelParent, r);
}

QWidget* PlayerWindowView::buildInsertControls()
{
    // Above the list: the workflow's buttons, READY and ABORT below them
    // for the break in hand, and the countdown large at the right.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    QHBoxLayout* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (const char* name : {"prepareInsertButton", "insertNowButton", "backToMusicButton"})
        add(*buttons, button(QLatin1String(name)), 1);
    auto* prepared = new QHBoxLayout;
    prepared->setSpacing(10);
    QLabel* ready = label(QStringLiteral("readyLabel"));
    reserveWidth(ready, QStringLiteral("READY"));
    QAbstractButton* abort = button(QStringLiteral("abortButton"));
    // Shown only while a break is prepared; their room stays so that
    // nothing moves under the operator's pointer when they come and go.
    for (QWidget* w : {static_cast<QWidget*>(ready), static_cast<QWidget*>(abort)}) {
        if (!w)
            continue;
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        prepared->addWidget(w);
    }
    prepared->addStretch(1);
    QLabel* count = nullptr;
    for (const char* name : {"countDownLabel(0)", "countDownLabel"})
        if (!count)
            count = label(QLatin1String(name), Qt::AlignRight | Qt::AlignVCenter);
    if (buttons->count() == 0 && prepared->count() <= 1 && !count) {
        delete buttons;
        delete prepared;
        delete grid;
        return nullptr;
    }
    grid->addLayout(buttons, 0, 0);
    grid->addLayout(prepared, 1, 0);
    if (count) {
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("-00:-00")) + 4);
        grid->addWidget(count, 0, 1, 2, 1);
    }
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(2, 1);
    return container(m_panelParent, grid);
}

QWidget* PlayerWindowView::buildLevels()
{
    // Left: position and master volume, each a slider over its bar. Right: the channel faders.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);

    QSlider* position = slider(QStringLiteral("positionSlider"));
    QLabel* elapsed = label(QStringLiteral("positionLabel"), Qt::AlignRight | Qt::AlignVCenter);
    reserveWidth(elapsed, QStringLiteral("-00:-00"));
    put(*grid, caption(tr("Position"), position), 0, 0);
    put(*grid, position, 0, 1);
    put(*grid, elapsed, 0, 2);
    put(*grid, bar(QStringLiteral("positionBar")), 1, 1);

    auto* times = new QHBoxLayout;
    times->setSpacing(6);
    QLabel* left = label(QStringLiteral("timeLeftLabel"));
    reserveWidth(left, QStringLiteral("-00:-00"));
    add(*times, caption(tr("Left"), left));
    add(*times, left);
    times->addStretch(1);
    QLabel* total = label(QStringLiteral("songLengthLabel"), Qt::AlignRight | Qt::AlignVCenter);
    reserveWidth(total, QStringLiteral("000:00"));
    add(*times, caption(tr("Total"), total));
    add(*times, total);
    grid->addLayout(times, 2, 1, 1, 2);

    QSlider* master = slider(QStringLiteral("masterVolume"));
    QLabel* percent = label(QStringLiteral("masterVolumeLabel"), Qt::AlignRight | Qt::AlignVCenter);
    reserveWidth(percent, QStringLiteral("100%"));
    put(*grid, caption(tr("Volume"), master), 4, 0);
    put(*grid, master, 4, 1);
    put(*grid, percent, 4, 2);
    put(*grid, bar(QStringLiteral("masterVolumeBar")), 5, 1);
    grid->setRowStretch(3, 1);  // the faders' spare height parts position from volume

    auto* faders = new QGridLayout;
    faders->setHorizontalSpacing(3);
    faders->setVerticalSpacing(2);
    const char* const names[2] = {"channel1Label", "channel2Label"};
    for (int ch = 0; ch < 2; ++ch) {
        const int c = ch * 2;
        put(*faders, label(QLatin1String(names[ch]), Qt::AlignCenter), 0, c, 1, 2);
        put(*faders, fader(QStringLiteral("channelFaders(%1)").arg(ch)), 1, c, 1, 1, Qt::AlignHCenter);
        put(*faders, bar(QStringLiteral("channelLevelBars(%1)").arg(ch), Qt::Vertical), 1, c + 1);
        QLabel* level = label(QStringLiteral("channelLevelLabels(%1)").arg(ch), Qt::AlignCenter);
        reserveWidth(level, QStringLiteral("100"));
        put(*faders, level, 2, c, 1, 2);
    }
    // The output meter, where the window has one: a bar per channel with its held peak below.
    for (int ch = 0; ch < 2; ++ch) {
        const int c = 5 + ch;
        put(*faders, bar(QStringLiteral("prgOutputPeak(%1)").arg(ch), Qt::Vertical), 1, c);
        QLabel* hold = label(QStringLiteral("lblOutputHold(%1)").arg(ch), Qt::AlignCenter);
        reserveWidth(hold, QStringLiteral("-60.0"));
        put(*faders, hold, 2, c);
    }
    faders->setColumnMinimumWidth(4, 6);
    faders->setColumnMinimumWidth(2, 0);
    faders->setRowStretch(1, 1);

    auto* r = new QHBoxLayout;
    r->setSpacing(12);
    r->addLayout(grid, 1);
    if (faders->count() > 0)
        r->addLayout(faders, 0);
    else
        delete faders;
    return container(m_panelParent, r);
}

QWidget* PlayerWindowView::buildOptions()
{
    auto* box = new QVBoxLayout;
    box->setSpacing(4);

    QHBoxLayout* tone = row(*box);
    QSlider* pitch = slider(QStringLiteral("pitchSlider"));
    QLabel* pitchValue = label(QStringLiteral("pitchLabel"));
    reserveWidth(pitchValue, QStringLiteral("0.00"));
    add(*tone, caption(tr("Pitch"), pitch));
    add(*tone, pitch, 1);
    add(*tone, pitchValue);
    QSlider* balance = slider(QStringLiteral("balanceSlider"));
    QLabel* balanceValue = label(QStringLiteral("balanceLabel"));
    reserveWidth(balanceValue, QStringLiteral("-10"));
    add(*tone, caption(tr("Balance"), balance));
    add(*tone, balance, 1);
    add(*tone, balanceValue);

    QHBoxLayout* cuts = row(*box);
    QScrollBar* cutFirst = spinner(QStringLiteral("cutFirstSpinner"));
    QLabel* cutFirstValue = label(QStringLiteral("cutFirstLabel"));
    reserveWidth(cutFirstValue, QStringLiteral("100"));
    add(*cuts, caption(tr("Cut first"), cutFirst));
    add(*cuts, cutFirst);
    add(*cuts, cutFirstValue);
    QScrollBar* cutLast = spinner(QStringLiteral("cutLastSpinner"));
    QLabel* cutLastValue = label(QStringLiteral("cutLastLabel"));
    reserveWidth(cutLastValue, QStringLiteral("100"));
    add(*cuts, caption(tr("Cut last"), cutLast));
    add(*cuts, cutLast);
    add(*cuts, cutLastValue);
    cuts->addStretch(1);
    add(*cuts, button(QStringLiteral("shuffleCheck")));

    if (QLabel* heading = label(QStringLiteral("transitionTypeLabel"))) {
        heading->setWordWrap(true);
        box->addWidget(heading);
    }
    QHBoxLayout* transitions = row(*box);
    transitions->setSpacing(3);
    for (int type = 0; type < 5; ++type)
        add(*transitions, transitionButton(type));
    transitions->addStretch(1);
    QScrollBar* time = spinner(QStringLiteral("transitionTimeSpinner"));
    QLabel* timeValue = label(QStringLiteral("transitionTimeLabel"));
    reserveWidth(timeValue, QStringLiteral("100"));
    add(*transitions, caption(tr("Time"), time));
    add(*transitions, time);
    add(*transitions, timeValue);

    // The music's mixer switches, or the insert workflow's options; the
    // output picker beside them, or beside the window buttons when the
    // options leave it no room.
    QHBoxLayout* lines = row(*box);
    add(*lines, button(QStringLiteral("micSwitch")));
    add(*lines, button(QStringLiteral("lineSwitch")));
    QAbstractButton* playOver = button(QStringLiteral("playOverMusicCheck"));
    add(*lines, playOver);
    add(*lines, button(QStringLiteral("waitForSongCheck")));
    QComboBox* devices = combo(QStringLiteral("outputDeviceCombo"));
    QHBoxLayout* devicesRow = playOver ? nullptr : lines;
    if (devicesRow) {
        add(*lines, caption(tr("Output"), devices));
        add(*lines, devices, 1);
    }
    if (!devices || !devicesRow)
        lines->addStretch(1);

    QHBoxLayout* totals = row(*box);
    add(*totals, button(QStringLiteral("calculateButton")));
    QLabel* length = label(QStringLiteral("totalLengthLabel"));
    reserveWidth(length, QStringLiteral("0000:00"));
    add(*totals, caption(QStringLiteral("List Length"), length));
    add(*totals, length);
    QLabel* songs = label(QStringLiteral("songCountLabel"));
    reserveWidth(songs, QStringLiteral("000000"));
    add(*totals, caption(QStringLiteral("Song Count"), songs));
    add(*totals, songs);
    totals->addStretch(1);

    QHBoxLayout* windows = row(*box);
    add(*windows, button(QStringLiteral("showInsertWindowButton")));
    add(*windows, button(QStringLiteral("searchButton")));
    add(*windows, button(QStringLiteral("nowPlayingButton")));
    if (!devicesRow) {
        add(*windows, caption(tr("Output"), devices));
        add(*windows, devices, 1);
    }
    if (!devices || devicesRow)
        windows->addStretch(1);

    auto* rest = new QGridLayout;
    rest->setHorizontalSpacing(6);
    box->addLayout(rest);
    buildLeftovers(*rest);
    return container(m_panelParent, box);
}

void PlayerWindowView::buildLeftovers(QGridLayout& grid)
{
    if (!m_form)
        return;
    int n = 0;
    for (Control* control : m_form->findChildren<Control*>()) {
        const QString name = control->name();
        if (m_claimed.contains(control) || qobject_cast<MenuItem*>(control) || qobject_cast<StatusBar*>(control))
            continue;
        QWidget* widget = nullptr;
        if (qobject_cast<Button*>(control))
            widget = button(name);
        else if (qobject_cast<Label*>(control))
            widget = label(name);
        else if (qobject_cast<Slider*>(control))
            widget = slider(name);
        else if (qobject_cast<ProgressBar*>(control))
            widget = bar(name);
        else if (qobject_cast<ComboBox*>(control))
            widget = combo(name);
        else if (auto* text = claim<TextBox>(name)) {
            auto* edit = new QLineEdit(m_panelParent);
            edit->setObjectName(name);
            WidgetBinder::bind(*text, *edit);
            widget = edit;
        }
        if (widget) {
            grid.addWidget(widget, n / 3, n % 3);
            ++n;
        }
    }
}

QAbstractButton* PlayerWindowView::button(const QString& name, bool small)
{
    auto* state = claim<Button>(name);
    if (!state)
        return nullptr;
    QAbstractButton* widget = nullptr;
    switch (state->kind()) {
    case Button::Kind::Push: widget = new QPushButton(m_panelParent); break;
    case Button::Kind::Check: widget = new QCheckBox(m_panelParent); break;
    case Button::Kind::Option: widget = new QRadioButton(m_panelParent); break;
    }
    widget->setObjectName(name);
    WidgetBinder::bind(*state, *widget);
    if (auto* push = qobject_cast<QPushButton*>(widget)) {
        // Narrower than the style's usual minimum, so the deck fits the
        // window's default width, but never narrower than the caption.
        auto fit = [state, push, small] {
            const QString text = QString(state->caption()).remove(QLatin1Char('&'));
            const int width = push->fontMetrics().horizontalAdvance(text) + 16;
            push->setMinimumWidth(width);
            if (small)
                push->setMaximumWidth(width);
        };
        connect(state, &Control::changed, push, fit);
        fit();
    }
    return widget;
}

QLabel* PlayerWindowView::label(const QString& name, Qt::Alignment align)
{
    auto* state = claim<Label>(name);
    if (!state)
        return nullptr;
    auto* widget = new QLabel(m_panelParent);
    widget->setObjectName(name);
    widget->setAlignment(align);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QSlider* PlayerWindowView::slider(const QString& name)
{
    auto* state = claim<Slider>(name);
    if (!state)
        return nullptr;
    auto* widget = new QSlider(Qt::Horizontal, m_panelParent);
    widget->setObjectName(name);
    widget->setMinimumWidth(60);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QSlider* PlayerWindowView::fader(const QString& name)
{
    auto* state = claim<Slider>(name);
    if (!state)
        return nullptr;
    auto* widget = new QSlider(Qt::Vertical, m_panelParent);
    widget->setObjectName(name);
    // 0 (full level) at the top, as on a mixing desk; Up moves the handle up.
    widget->setInvertedAppearance(true);
    widget->setInvertedControls(true);
    // As tall as the sliders beside them, whatever the style would like.
    widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    widget->setMinimumHeight(52);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QScrollBar* PlayerWindowView::spinner(const QString& name)
{
    auto* state = claim<Slider>(name);
    if (!state)
        return nullptr;
    // Just the two arrows of a vertical scroll bar: an up/down control.
    auto* widget = new QScrollBar(Qt::Vertical, m_panelParent);
    widget->setObjectName(name);
    const int extent = widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
    widget->setFixedSize(extent, 2 * extent + 2);
    WidgetBinder::bind(*state, *widget,
                       state->upRaises() ? WidgetBinder::SliderMapping::Mirrored : WidgetBinder::SliderMapping::Direct);
    return widget;
}

QProgressBar* PlayerWindowView::bar(const QString& name, Qt::Orientation orientation)
{
    auto* state = claim<ProgressBar>(name);
    if (!state)
        return nullptr;
    auto* widget = new QProgressBar(m_panelParent);
    widget->setObjectName(name);
    widget->setOrientation(orientation);
    widget->setTextVisible(false);
    if (orientation == Qt::Horizontal)
        widget->setFixedHeight(8);
    else {
        widget->setFixedWidth(8);
        widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    }
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QComboBox* PlayerWindowView::combo(const QString& name)
{
    auto* state = claim<ComboBox>(name);
    if (!state)
        return nullptr;
    auto* widget = new QComboBox(m_panelParent);
    widget->setObjectName(name);
    widget->setMinimumContentsLength(8);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QToolButton* PlayerWindowView::transitionButton(int type)
{
    const QString name = QStringLiteral("transitionButtons(%1)").arg(type);
    auto* state = claim<Button>(name);
    if (!state)
        return nullptr;
    auto* widget = new QToolButton(m_panelParent);
    widget->setObjectName(name);
    widget->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const QSize picture(36, 18);
    widget->setIconSize(picture);
    widget->setIcon(QIcon(rampPicture(type, picture)));
    // The type's name, unless the window gives a tip of its own.
    widget->setToolTip(QLatin1String(kTransitionNames[type]));
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QLabel* PlayerWindowView::caption(const QString& text, QWidget* forWidget)
{
    if (!forWidget)
        return nullptr;
    auto* widget = new QLabel(text, m_panelParent);
    widget->setTextFormat(Qt::PlainText);
    if (m_form) {
        if (Control* control = m_form->findChild<Control*>(forWidget->objectName())) {
            auto follow = [control, widget] { widget->setVisible(control->isVisible()); };
            connect(control, &Control::changed, widget, follow);
            follow();
        }
    }
    return widget;
}

void PlayerWindowView::followShowOptions()
{
    Button* toggle = m_form ? m_form->findChild<Button*>(QStringLiteral("showOptionsButton")) : nullptr;
    if (!toggle || !m_options)
        return;
    // The window reduces its panel by captioning the button ">>"; the
    // options then give their room to the list, as the reduced panel does.
    auto follow = [toggle, options = m_options] { options->setVisible(toggle->caption() != QLatin1String(">>")); };
    connect(toggle, &Control::changed, m_options, follow);
    follow();
}

void PlayerWindowView::popupMenu(const QString& name)
{
    if (QMenu* m = menu(name))
        m->popup(QCursor::pos());
}

QPixmap PlayerWindowView::rampPicture(int type, const QSize& size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal l = 2, r = size.width() - 2, t = 3, b = size.height() - 3, mid = size.width() / 2.0;
    const QPen current(QColor(220, 0, 0), 2);
    const QPen next(QColor(0, 70, 230), 2);
    auto draw = [&p](const QPen& pen, std::initializer_list<QPointF> points) {
        p.setPen(pen);
        p.drawPolyline(QPolygonF(QList<QPointF>(points)));
    };
    switch (type) {
    case 0:  // both at once, one down while the other comes up
        draw(current, {{l, t}, {r, b}});
        draw(next, {{l, b}, {r, t}});
        break;
    case 1:  // the next comes up first, then the current goes down
        draw(current, {{l, t}, {mid, t}, {r, b}});
        draw(next, {{l, b}, {mid, t}, {r, t}});
        break;
    case 2:  // the current goes down first, then the next comes up
        draw(current, {{l, t}, {mid, b}});
        draw(next, {{mid, b}, {r, t}});
        break;
    case 3:  // both at full level, the current stops at the end
        draw(current, {{l, t}, {r, t}, {r, b}});
        draw(next, {{l, b}, {l, t + 4}, {r - 3, t + 4}});
        break;
    default:  // a cut
        draw(current, {{l, t}, {mid - 1, t}, {mid - 1, b}});
        draw(next, {{mid + 1, b}, {mid + 1, t}, {r, t}});
        break;
    }
    return picture;
}

void PlayerWindowView::closeEvent(QCloseEvent* event)
{
    if (mayClose && !mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace tavlo
