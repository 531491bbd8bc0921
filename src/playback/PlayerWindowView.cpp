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
#include "playback/TransitionType.h"
#include "playlist/PlaylistModel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
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

}  // namespace

PlayerWindowView::PlayerWindowView(PlayerWindow& window, QWidget* parent)
    : PlayerWindowView(window, Extras{}, parent)
{
}

PlayerWindowView::PlayerWindowView(PlayerWindow& window, const Extras& extras, QWidget* parent)
    : QMainWindow(parent), m_window(window)
{
    setObjectName(window.objectName());
    m_menus = WidgetBinder::bindMenuBar(window, *menuBar());

    // No layout manager here: the window logic says where the list, the
    // panel and the progress bar go (placePanes).
    auto* central = new QWidget(this);
    m_panelParent = central;
    if (extras.aboveList)
        m_aboveList = extras.aboveList(*this);
    m_list = new PlaylistTableView(*window.clipList, central);
    m_progress = bar(window.loadProgressBar);
    QLabel* statusBarEnd = extras.statusBarEnd ? label(extras.statusBarEnd) : nullptr;
    m_panel = buildPanel(extras);
    m_panel->setParent(central);
    setCentralWidget(central);
    central->installEventFilter(this);

    statusBar()->setObjectName(window.statusBar->name());
    WidgetBinder::bind(*window.statusBar, *statusBar());
    if (statusBarEnd)
        statusBar()->addPermanentWidget(statusBarEnd);

    // A right click on the list makes the window ask for its "&List" menu
    // at the pointer (x, y in pixels of the list's viewport).
    connect(&window, &PlayerWindow::popupMenu, this, [this](MenuItem* item, int x, int y) {
        if (QMenu* m = item ? menu(item->name()) : nullptr)
            m->popup(m_list->viewport()->mapToGlobal(QPoint(x, y)));
    });

    m_follower = new FormFollower(window, *this, FormFollower::Placement::PlaceAndSize);
    connect(&window, &PlayerWindow::layoutChanged, this, &PlayerWindowView::placePanes);
    placePanes();
}

PlayerWindowView::~PlayerWindowView() = default;

void PlayerWindowView::placePanes()
{
    QWidget* central = centralWidget();
    if (!central || !m_follower)  // still being built
        return;
    const PlayerLayout l = m_window.layout();
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
    if (m_aboveList)
        m_aboveList->setGeometry(left, 0, width, px(l.listTop));
    m_list->setGeometry(left, px(l.listTop), width, listHeight);
    m_panel->setGeometry(left, panelTop, width, panelHeight);
    const int h = std::min(m_progress->sizeHint().height(), m_progress->maximumHeight());
    m_progress->setGeometry(left, std::min(px(l.progressTop), central->height() - h), width, h);
}

bool PlayerWindowView::eventFilter(QObject* watched, QEvent* event)
{
    // The central area settles its size after the window's; the panel's
    // fallback above depends on it.
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        placePanes();
    return QMainWindow::eventFilter(watched, event);
}


QWidget* PlayerWindowView::container(QLayout* layout)
{
    auto* w = new QWidget(m_panelParent);
    layout->setContentsMargins(0, 0, 0, 0);
    w->setLayout(layout);
    return w;
}

QWidget* PlayerWindowView::buildPanel(const Extras& extras)
{
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("Picture1"));
    m_panelParent = panel;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    add(*layout, buildTransport());
    add(*layout, buildLevels(extras));
    m_options = buildOptions(extras);
    add(*layout, m_options);
    layout->addStretch(1);
    followShowOptions();
    return panel;
}

QWidget* PlayerWindowView::buildTransport()
{
    auto* r = new QHBoxLayout;
    r->setSpacing(4);
    PlayerWindow& w = m_window;
    for (Button* state : {w.playButton, w.stopButton, w.pauseButton, w.backButton, w.nextButton}) {
        QAbstractButton* b = button(state);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        r->addWidget(b, 1);
    }
    r->addSpacing(6);
    QLabel* status = label(w.statusLabel, Qt::AlignCenter);
    reserveWidth(status, QStringLiteral("Pause"));
    add(*r, status);
    add(*r, button(w.showOptionsButton, true));
    return container(r);
}

QWidget* PlayerWindowView::buildLevels(const Extras& extras)
{
    // Left: position and master volume, each a slider over its bar. Right: the channel faders.
    PlayerWindow& w = m_window;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);

    QSlider* position = slider(w.positionSlider);
    QLabel* elapsed = label(w.positionLabel, Qt::AlignRight | Qt::AlignVCenter);
    reserveWidth(elapsed, QStringLiteral("-00:-00"));
    put(*grid, caption(tr("Position"), w.positionSlider), 0, 0);
    put(*grid, position, 0, 1);
    put(*grid, elapsed, 0, 2);
    put(*grid, bar(w.positionBar), 1, 1);

    auto* times = new QHBoxLayout;
    times->setSpacing(6);
    QLabel* left = label(w.timeLeftLabel);
    reserveWidth(left, QStringLiteral("-00:-00"));
    add(*times, caption(tr("Left"), w.timeLeftLabel));
    add(*times, left);
    times->addStretch(1);
    QLabel* total = label(w.songLengthLabel, Qt::AlignRight | Qt::AlignVCenter);
    reserveWidth(total, QStringLiteral("000:00"));
    add(*times, caption(tr("Total"), w.songLengthLabel));
    add(*times, total);
    grid->addLayout(times, 2, 1, 1, 2);

    QSlider* master = slider(w.masterVolume);
    QLabel* percent = label(w.masterVolumeLabel, Qt::AlignRight | Qt::AlignVCenter);
    reserveWidth(percent, QStringLiteral("100%"));
    put(*grid, caption(tr("Volume"), w.masterVolume), 4, 0);
    put(*grid, master, 4, 1);
    put(*grid, percent, 4, 2);
    put(*grid, bar(w.masterVolumeBar), 5, 1);
    grid->setRowStretch(3, 1);  // the faders' spare height parts position from volume

    auto* faders = new QGridLayout;
    faders->setHorizontalSpacing(3);
    faders->setVerticalSpacing(2);
    const std::array<Label*, 2> names{w.channel1Label, w.channel2Label};
    for (size_t ch = 0; ch < 2; ++ch) {
        const int c = static_cast<int>(ch) * 2;
        put(*faders, label(names[ch], Qt::AlignCenter), 0, c, 1, 2);
        put(*faders, fader(w.channelFaders[ch]), 1, c, 1, 1, Qt::AlignHCenter);
        put(*faders, bar(w.channelLevelBars[ch], Qt::Vertical), 1, c + 1);
        QLabel* level = label(w.channelLevelLabels[ch], Qt::AlignCenter);
        reserveWidth(level, QStringLiteral("100"));
        put(*faders, level, 2, c, 1, 2);
    }
    for (size_t ch = 0; ch < 2; ++ch) {
        const int c = 5 + static_cast<int>(ch);
        if (extras.meters[ch])
            put(*faders, bar(extras.meters[ch], Qt::Vertical), 1, c);
        if (extras.meterHolds[ch]) {
            QLabel* hold = label(extras.meterHolds[ch], Qt::AlignCenter);
            reserveWidth(hold, QStringLiteral("-60.0"));
            put(*faders, hold, 2, c);
        }
    }
    faders->setColumnMinimumWidth(4, 6);
    faders->setColumnMinimumWidth(2, 0);
    faders->setRowStretch(1, 1);

    auto* r = new QHBoxLayout;
    r->setSpacing(12);
    r->addLayout(grid, 1);
    r->addLayout(faders, 0);
    return container(r);
}

QWidget* PlayerWindowView::buildOptions(const Extras& extras)
{
    PlayerWindow& w = m_window;
    auto* box = new QVBoxLayout;
    box->setSpacing(4);

    QHBoxLayout* tone = row(*box);
    QSlider* pitch = slider(w.pitchSlider);
    QLabel* pitchValue = label(w.pitchLabel);
    reserveWidth(pitchValue, QStringLiteral("0.00"));
    add(*tone, caption(tr("Pitch"), w.pitchSlider));
    add(*tone, pitch, 1);
    add(*tone, pitchValue);
    QSlider* balance = slider(w.balanceSlider);
    QLabel* balanceValue = label(w.balanceLabel);
    reserveWidth(balanceValue, QStringLiteral("-10"));
    add(*tone, caption(tr("Balance"), w.balanceSlider));
    add(*tone, balance, 1);
    add(*tone, balanceValue);

    QHBoxLayout* cuts = row(*box);
    QScrollBar* cutFirst = spinner(w.cutFirstSpinner);
    QLabel* cutFirstValue = label(w.cutFirstLabel);
    reserveWidth(cutFirstValue, QStringLiteral("100"));
    add(*cuts, caption(tr("Cut first"), w.cutFirstSpinner));
    add(*cuts, cutFirst);
    add(*cuts, cutFirstValue);
    QScrollBar* cutLast = spinner(w.cutLastSpinner);
    QLabel* cutLastValue = label(w.cutLastLabel);
    reserveWidth(cutLastValue, QStringLiteral("100"));
    add(*cuts, caption(tr("Cut last"), w.cutLastSpinner));
    add(*cuts, cutLast);
    add(*cuts, cutLastValue);
    cuts->addStretch(1);
    add(*cuts, button(w.shuffleCheck));

    QLabel* heading = label(w.transitionTypeLabel);
    heading->setWordWrap(true);
    box->addWidget(heading);
    QHBoxLayout* transitions = row(*box);
    transitions->setSpacing(3);
    for (int type = 0; type < kTransitionTypeCount; ++type)
        add(*transitions, transitionButton(type));
    transitions->addStretch(1);
    QScrollBar* time = spinner(w.transitionTimeSpinner);
    QLabel* timeValue = label(w.transitionTimeLabel);
    reserveWidth(timeValue, QStringLiteral("100"));
    add(*transitions, caption(tr("Time"), w.transitionTimeSpinner));
    add(*transitions, time);
    add(*transitions, timeValue);

    // The window's own switches; the output picker beside them, or beside
    // the window buttons when the switches leave it no room.
    QHBoxLayout* lines = row(*box);
    for (Button* state : extras.switches)
        add(*lines, button(state));
    addTotalsAndWindows(*box, *lines, extras);
    return container(box);
}

void PlayerWindowView::addTotalsAndWindows(QBoxLayout& box, QBoxLayout& lines, const Extras& extras)
{
    PlayerWindow& w = m_window;
    QComboBox* devices = combo(w.outputDeviceCombo);
    QLabel* devicesCaption = caption(tr("Output"), w.outputDeviceCombo);
    if (!extras.outputBesideWindowButtons) {
        add(lines, devicesCaption);
        add(lines, devices, 1);
    } else {
        lines.addStretch(1);
    }

    QHBoxLayout* totals = row(box);
    add(*totals, button(w.calculateButton));
    QLabel* length = label(w.totalLengthLabel);
    reserveWidth(length, QStringLiteral("0000:00"));
    add(*totals, caption(QStringLiteral("List Length"), w.totalLengthLabel));
    add(*totals, length);
    QLabel* songs = label(w.songCountLabel);
    reserveWidth(songs, QStringLiteral("000000"));
    add(*totals, caption(QStringLiteral("Song Count"), w.songCountLabel));
    add(*totals, songs);
    totals->addStretch(1);

    QHBoxLayout* windows = row(box);
    if (extras.beforeSearch)
        add(*windows, button(extras.beforeSearch));
    add(*windows, button(w.searchButton));
    if (extras.afterSearch)
        add(*windows, button(extras.afterSearch));
    if (extras.outputBesideWindowButtons) {
        add(*windows, devicesCaption);
        add(*windows, devices, 1);
    } else {
        windows->addStretch(1);
    }
}

QAbstractButton* PlayerWindowView::button(Button* state, bool small)
{
    QAbstractButton* widget = nullptr;
    switch (state->kind()) {
    case Button::Kind::Push: widget = new QPushButton(m_panelParent); break;
    case Button::Kind::Check: widget = new QCheckBox(m_panelParent); break;
    case Button::Kind::Option: widget = new QRadioButton(m_panelParent); break;
    }
    widget->setObjectName(state->name());
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

QLabel* PlayerWindowView::label(Label* state, Qt::Alignment align)
{
    auto* widget = new QLabel(m_panelParent);
    widget->setObjectName(state->name());
    widget->setAlignment(align);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QSlider* PlayerWindowView::slider(Slider* state)
{
    auto* widget = new QSlider(Qt::Horizontal, m_panelParent);
    widget->setObjectName(state->name());
    widget->setMinimumWidth(60);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QSlider* PlayerWindowView::fader(Slider* state)
{
    auto* widget = new QSlider(Qt::Vertical, m_panelParent);
    widget->setObjectName(state->name());
    // 0 (full level) at the top, as on a mixing desk; Up moves the handle up.
    widget->setInvertedAppearance(true);
    widget->setInvertedControls(true);
    // As tall as the sliders beside them, whatever the style would like.
    widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    widget->setMinimumHeight(52);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QScrollBar* PlayerWindowView::spinner(Slider* state)
{
    // Just the two arrows of a vertical scroll bar: an up/down control.
    auto* widget = new QScrollBar(Qt::Vertical, m_panelParent);
    widget->setObjectName(state->name());
    const int extent = widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
    widget->setFixedSize(extent, 2 * extent + 2);
    WidgetBinder::bind(*state, *widget,
                       state->upRaises() ? WidgetBinder::SliderMapping::Mirrored : WidgetBinder::SliderMapping::Direct);
    return widget;
}

QProgressBar* PlayerWindowView::bar(ProgressBar* state, Qt::Orientation orientation)
{
    auto* widget = new QProgressBar(m_panelParent);
    widget->setObjectName(state->name());
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

QComboBox* PlayerWindowView::combo(ComboBox* state)
{
    auto* widget = new QComboBox(m_panelParent);
    widget->setObjectName(state->name());
    widget->setMinimumContentsLength(8);
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QToolButton* PlayerWindowView::transitionButton(int type)
{
    Button* state = m_window.transitionButtons[static_cast<size_t>(type)];
    auto* widget = new QToolButton(m_panelParent);
    widget->setObjectName(state->name());
    widget->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const QSize picture(36, 18);
    widget->setIconSize(picture);
    widget->setIcon(QIcon(rampPicture(static_cast<TransitionType>(type), picture)));
    WidgetBinder::bind(*state, *widget);
    return widget;
}

QLabel* PlayerWindowView::caption(const QString& text, Control* control)
{
    auto* caption = new QLabel(text, m_panelParent);
    caption->setTextFormat(Qt::PlainText);
    auto follow = [control, caption] { caption->setVisible(control->isVisible()); };
    connect(control, &Control::changed, caption, follow);
    follow();
    return caption;
}

void PlayerWindowView::followShowOptions()
{
    Button* toggle = m_window.showOptionsButton;
    // The window reduces its panel by captioning the button ">>"; the
    // options then give their room to the list, as the reduced panel does.
    auto follow = [toggle, options = m_options] { options->setVisible(toggle->caption() != QLatin1String(">>")); };
    connect(toggle, &Control::changed, m_options, follow);
    follow();
}

QPixmap PlayerWindowView::rampPicture(TransitionType type, const QSize& size)
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
    case TransitionType::CrossDissolve:  // both at once, one down while the other comes up
        draw(current, {{l, t}, {r, b}});
        draw(next, {{l, b}, {r, t}});
        break;
    case TransitionType::UpDown:  // the next comes up first, then the current goes down
        draw(current, {{l, t}, {mid, t}, {r, b}});
        draw(next, {{l, b}, {mid, t}, {r, t}});
        break;
    case TransitionType::DownUp:  // the current goes down first, then the next comes up
        draw(current, {{l, t}, {mid, b}});
        draw(next, {{mid, b}, {r, t}});
        break;
    case TransitionType::Mix:  // both at full level, the current stops at the end
        draw(current, {{l, t}, {r, t}, {r, b}});
        draw(next, {{l, b}, {l, t + 4}, {r - 3, t + 4}});
        break;
    case TransitionType::Cut:  // a cut
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
