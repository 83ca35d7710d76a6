#include "TabConfigWindow.h"

#include "PageTabs.h"
#include "base/NumberText.h"
#include "catalogue/QuickStartItems.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "model/ParameterSearch.h"
#include "ui/common/AppIcons.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QStringListModel>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace Tarvel {

namespace {

const char *const WizCaptions[TabConfigWindow::WizButtonCount] = {
    "Done w/ P0.xx",
    "Done w/ P1.xx",
    "Done w/ P2.xx",
    "Done w/P3.xx",
    "Done w/ P4.xx",
    "Done w/ P7.xx",
    "Done w/ P8.xx",
    "Done w/ P9.xx",
};

// The quick-start mark: a small green dot (colour value 65280).
QPixmap greenDot()
{
    static const QPixmap dot = [] {
        const qreal ratio = 2.0; // sharp on high-density screens too
        QPixmap pixmap(QSize(10, 10) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0, 128, 0));
        p.setBrush(QColor(0, 255, 0));
        p.drawEllipse(QRectF(1, 1, 8, 8));
        return pixmap;
    }();
    return dot;
}

QLabel *newDot(QWidget *parent, const QString &name)
{
    auto *dot = new QLabel(parent);
    dot->setObjectName(name);
    dot->setPixmap(greenDot());
    dot->setFixedSize(10, 10);
    dot->hide();
    return dot;
}

} // namespace

TabConfigWindow::TabConfigWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_form(ctx.editor)
    , m_focus(new FieldFocus(ctx, *this, this))
    , m_rows(EditorForm::IndexCount)
{
    setObjectName(QStringLiteral("frmTabConfig"));
    m_ctx.trap(QStringLiteral("frmTabConfig, Form_Load"), [&] {
        setWindowTitle(m_form.caption());
        setWindowIcon(AppIcons::application());
        buildSearch();
        buildTabs();
        buildRows();
        addPictureButtons();
        buildButtons();
        buildLayout();
        connectModel();
        for (int i : EditorForm::fieldIndices()) {
            syncLabel(i);
            syncText(i);
            if (m_rows[size_t(i)].list)
                syncList(i);
        }
        restoreTabStops();
    });
}

TabConfigWindow::~TabConfigWindow()
{
    // The focus logic hears every focus change of the application, and the
    // widgets going away below cause some; it must not ask a half-destroyed
    // window about them.
    delete m_focus;
}

void TabConfigWindow::buildSearch()
{
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtFind"));
    m_search->setPlaceholderText(QStringLiteral("Parameter number or name (Ctrl+F)"));
    m_search->setClearButtonEnabled(true);
    m_search->setMinimumWidth(m_search->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 32);
    m_matches = new QStringListModel(this);
    m_completer = new QCompleter(m_matches, this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    m_completer->setWidget(m_search);
    connect(m_search, &QLineEdit::textEdited, this, &TabConfigWindow::searchEdited);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this, &TabConfigWindow::searchChosen);
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        const QStringList found = m_matches->stringList();
        if (!found.isEmpty())
            searchChosen(found.first());
    });
}

QStringList TabConfigWindow::searchMatches(const QString &text) const
{
    const ParameterSearch search(m_form, m_ctx.params);
    QStringList out;
    for (int i : search.find(text))
        out << ParamText::parameterNumber(i) + u' ' + search.name(i);
    return out;
}

void TabConfigWindow::searchEdited(const QString &text)
{
    m_matches->setStringList(searchMatches(text));
    if (m_matches->rowCount() > 0)
        m_completer->complete();
    else
        m_completer->popup()->hide();
}

void TabConfigWindow::searchChosen(const QString &match)
{
    const std::optional<int> index = ParameterSearch::parseNumber(match.section(u' ', 0, 0));
    if (!index)
        return;
    // The list closing hands the focus back to the search field; the move
    // to the field waits until it has.
    m_completer->popup()->hide();
    QTimer::singleShot(0, this,
        [this, i = *index] { m_ctx.trap(QStringLiteral("frmTabConfig, txtFind_Click"), [&] { goToParameter(i); }); });
}

void TabConfigWindow::focusSearch()
{
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

bool TabConfigWindow::goToParameter(int index)
{
    if (!ParameterSearch(m_form, m_ctx.params).inDrive(index))
        return false;
    const bool list = m_rows[size_t(index)].list && m_form.cmbP(index).visible();
    const FieldFocus::Field field {list ? FieldKind::List : FieldKind::Text, index};
    showTabs(m_rows[size_t(index)].pos);
    return m_focus->moveTo(field);
}

void TabConfigWindow::buildTabs()
{
    m_groups = new PageTabs(this);
    m_groups->setObjectName(QStringLiteral("tabDetails"));
    m_focus->watch(m_groups);
    connect(m_groups, &PageTabs::tabClicked, this, [this](int group) {
        userSelectsTabs({group, m_subTabs[size_t(group)]->current()}, QStringLiteral("frmTabConfig, tabDetails_Click"));
    });
    for (int g = 0; g < EditorLayout::GroupCount; ++g) {
        auto *page = new QWidget;
        auto *banner = new QLabel(EditorLayout::banner(g), page);
        banner->setObjectName(QStringLiteral("lblBanner%1").arg(g));
        banner->setAlignment(Qt::AlignCenter);
        QFont font = banner->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.25);
        banner->setFont(font);
        auto *tabs = new PageTabs(page);
        tabs->setObjectName(QStringLiteral("SSTab%1").arg(g));
        m_focus->watch(tabs);
        for (const QString &caption : EditorLayout::subTabCaptions(g)) {
            auto *sub = new QWidget;
            auto *grid = new QGridLayout(sub);
            // Dot, caption, value, and the room that is left on the right:
            // caption and value stay together as one table at any width.
            grid->setColumnMinimumWidth(0, 12);
            grid->setColumnStretch(3, 1);
            grid->setHorizontalSpacing(6);
            grid->setVerticalSpacing(4);
            tabs->addPage(caption, sub);
        }
        connect(tabs, &PageTabs::tabClicked, this, [this, g](int sub) {
            userSelectsTabs({g, sub}, QStringLiteral("frmTabConfig, SSTab_Click"));
        });
        m_subTabs[size_t(g)] = tabs;
        auto *layout = new QVBoxLayout(page);
        layout->addWidget(banner);
        layout->addWidget(tabs, 1);
        m_groups->addPage(EditorLayout::groupCaption(g), page);
    }
}

void TabConfigWindow::buildRows()
{
    m_rowHeight = QComboBox().sizeHint().height();
    for (int i : EditorForm::fieldIndices()) {
        const TabPos pos = EditorLayout::placement(i);
        addRow(i, m_subTabs[size_t(pos.group)]->page(pos.sub));
    }
    for (int g : QuickStartItems::groups()) {
        const QVector<int> &items = QuickStartItems::items(g);
        for (int k = 0; k < items.size(); ++k) {
            Row &row = m_rows[size_t(items[k])];
            row.dot = newDot(row.label->parentWidget(), QStringLiteral("wizP%1").arg(g));
            row.dot->setProperty("dotIndex", k);
            auto *grid = static_cast<QGridLayout *>(row.label->parentWidget()->layout());
            int r = 0, c = 0, rs = 0, cs = 0;
            grid->getItemPosition(grid->indexOf(row.label), &r, &c, &rs, &cs);
            grid->addWidget(row.dot, r, 0, Qt::AlignCenter);
            m_dots[g] << row.dot;
        }
    }
}

void TabConfigWindow::addRow(int index, QWidget *page)
{
    Row &row = m_rows[size_t(index)];
    row.pos = EditorLayout::placement(index);
    auto *grid = static_cast<QGridLayout *>(page->layout());
    const int r = grid->rowCount();

    row.label = new QLabel(page);
    row.label->setObjectName(QStringLiteral("lblP_%1").arg(index));
    row.label->setTextFormat(Qt::PlainText);
    // Rows keep one height whether they show a list, a box or only the
    // grey caption, so a page does not shift from drive to drive.
    row.label->setMinimumHeight(m_rowHeight);
    row.label->setProperty("index", index);
    row.label->installEventFilter(this);
    grid->addWidget(row.label, r, 1);

    row.text = new QLineEdit(page);
    row.text->setObjectName(QStringLiteral("txtP_%1").arg(index));
    row.text->setFixedWidth(row.text->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
    row.text->hide();
    row.text->installEventFilter(this);
    m_fieldOf.insert(row.text, {FieldKind::Text, index});
    m_focus->watch(row.text);
    connect(row.text, &QLineEdit::textEdited, this, [this, index](const QString &text) { textEdited(index, text); });
    grid->addWidget(row.text, r, 2, Qt::AlignLeft);

    if (m_form.hasCmbP(index)) {
        row.list = new QComboBox(page);
        row.list->setObjectName(QStringLiteral("cmbP_%1").arg(index));
        row.list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        row.list->setMinimumContentsLength(30);
        row.list->view()->setTextElideMode(Qt::ElideNone);
        row.list->hide();
        m_fieldOf.insert(row.list, {FieldKind::List, index});
        m_focus->watch(row.list);
        connect(row.list, &QComboBox::activated, this, [this, index](int position) { listActivated(index, position); });
        grid->addWidget(row.list, r, 2, Qt::AlignLeft);
    }
}

// The picture buttons of the truth-table and tuning-diagram screens, disabled
// until the screen they open is attached (setPictureAction).
void TabConfigWindow::addPictureButtons()
{
    struct Picture
    {
        const char *name;
        const char *caption;
        TabPos pos;
    };
    const Picture pictures[] = {
        {"cmdTruthMatrix", "Multi-Speed Truth Table...", {3, 0}},
        {"cmdMatrix", "Multi-Speed Truth Table...", {5, 0}},
        {"cmdDiagram", "Closed-Loop Diagram...", {10, 0}},
    };
    for (const Picture &p : pictures) {
        QWidget *page = m_subTabs[size_t(p.pos.group)]->page(p.pos.sub);
        auto *button = new QPushButton(QString::fromLatin1(p.caption), page);
        button->setObjectName(QString::fromLatin1(p.name));
        button->setEnabled(false);
        auto *grid = static_cast<QGridLayout *>(page->layout());
        grid->addWidget(button, grid->rowCount(), 1, 1, 2, Qt::AlignRight);
    }
    for (PageTabs *tabs : m_subTabs)
        for (int s = 0; s < tabs->count(); ++s) {
            auto *grid = static_cast<QGridLayout *>(tabs->page(s)->layout());
            grid->setRowStretch(grid->rowCount(), 1);
        }
}

void TabConfigWindow::buildButtons()
{
    for (int k = 0; k < WizButtonCount; ++k) {
        auto *button = new QPushButton(QString::fromLatin1(WizCaptions[k]), this);
        button->setObjectName(QStringLiteral("cmdWiz_%1").arg(k));
        button->hide();
        m_focus->watch(button);
        connect(button, &QPushButton::clicked, this, [this, k] { clickWizButton(k); });
        m_wiz[size_t(k)] = button;
    }
    m_close = new QPushButton(QStringLiteral("Done"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    m_focus->watch(m_close);
    connect(m_close, &QPushButton::clicked, this,
        [this] { m_ctx.trap(QStringLiteral("frmTabConfig, cmdClose_Click"), [&] { hideEditor(); }); });

    m_label10 = new QLabel(QStringLiteral("Red label indicates value different from Parameter's default."), this);
    m_label10->setObjectName(QStringLiteral("Label10"));
    m_dotQuickStart = newDot(this, QStringLiteral("dotQuickStart"));
    m_lblQuickStart = new QLabel(QStringLiteral("Green Dots Indicate \"Quick Start\" Items."), this);
    m_lblQuickStart->setObjectName(QStringLiteral("lblQuickStart"));
    m_lblQuickStart->hide();
}

void TabConfigWindow::buildLayout()
{
    auto *legend = new QHBoxLayout;
    legend->addWidget(m_dotQuickStart);
    legend->addWidget(m_lblQuickStart);
    legend->addStretch(1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_label10);
    bottom->addStretch(1);
    for (QPushButton *button : m_wiz)
        bottom->addWidget(button);
    bottom->addWidget(m_close);
    auto *find = new QHBoxLayout;
    find->addStretch(1);
    find->addWidget(new QLabel(QStringLiteral("Find:"), this));
    find->addWidget(m_search);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(find);
    layout->addWidget(m_groups, 1);
    layout->addLayout(legend);
    layout->addLayout(bottom);
    m_focus->watch(this);
}

void TabConfigWindow::connectModel()
{
    connect(&m_form, &EditorForm::changed, this, &TabConfigWindow::syncField);
    connect(&m_form, &EditorForm::captionChanged, this, &QWidget::setWindowTitle);
}

// --- rendering the form: only the one field that changed -------------------

void TabConfigWindow::syncField(FieldKind kind, int index)
{
    if (index < 0 || index >= int(m_rows.size()) || !m_rows[size_t(index)].label)
        return;
    switch (kind) {
    case FieldKind::Text:
        syncText(index);
        break;
    case FieldKind::List:
        syncList(index);
        syncText(index); // the value box gives way to a list in use
        break;
    case FieldKind::Label:
        syncLabel(index);
        break;
    }
}

void TabConfigWindow::syncText(int index)
{
    const Row &row = m_rows[size_t(index)];
    const TextBoxField &field = m_form.txtP(index);
    // Typing already put this text there; setting it again would move the
    // cursor under the user's hands.
    if (row.text->text() != field.text())
        row.text->setText(field.text());
    if (row.text->toolTip() != field.toolTipText())
        row.text->setToolTip(field.toolTipText());
    const bool listInUse = row.list && m_form.cmbP(index).visible();
    if (row.list && row.list->toolTip() != field.toolTipText())
        row.list->setToolTip(field.toolTipText());
    setUsable(row.text, field.enabled(), field.tabStop());
    setShown(row.text, field.visible() && !listInUse);
}

void TabConfigWindow::syncList(int index)
{
    const Row &row = m_rows[size_t(index)];
    const ComboField &field = m_form.cmbP(index);
    syncListItems(row.list, field.list());
    if (row.list->currentIndex() != field.listIndex()) {
        const QSignalBlocker block(row.list);
        row.list->setCurrentIndex(field.listIndex());
    }
    // P0.00 and P0.02 may hold a value that is no entry of their list.
    if (field.listIndex() < 0 && row.list->placeholderText() != field.text())
        row.list->setPlaceholderText(field.text());
    setUsable(row.list, field.enabled(), field.tabStop());
    setShown(row.list, field.visible());
}

void TabConfigWindow::syncListItems(QComboBox *list, const QStringList &items)
{
    // The loader adds one entry at a time: append what is new, rebuild only
    // when the list was replaced.
    const int have = list->count();
    bool prefix = have <= items.size();
    for (int k = 0; prefix && k < have; ++k)
        prefix = list->itemText(k) == items.at(k);
    if (prefix && have == items.size())
        return;
    const QSignalBlocker block(list);
    if (!prefix)
        list->clear();
    list->addItems(items.mid(list->count()));
}

void TabConfigWindow::syncLabel(int index)
{
    Row &row = m_rows[size_t(index)];
    const LabelField &field = m_form.lblP(index);
    if (row.label->text() != field.caption())
        row.label->setText(field.caption());
    if (row.colour != field.foreColor()) {
        row.colour = field.foreColor();
        QPalette palette = row.label->palette();
        palette.setColor(QPalette::WindowText, labelColour(row.colour));
        row.label->setPalette(palette);
    }
    // A parameter the drive does not have shows no hints.
    const QString tip = field.foreColor() == Colour::GrayText ? QString() : field.toolTipText();
    if (row.label->toolTip() != tip)
        row.label->setToolTip(tip);
    setShown(row.label, field.visible());
}

QColor TabConfigWindow::labelColour(quint32 colour) const
{
    if (colour == Colour::GrayText)
        return palette().color(QPalette::Disabled, QPalette::WindowText);
    if (colour == Colour::Black)
        return palette().color(QPalette::Active, QPalette::WindowText);
    // Classic colour values are 0x00BBGGRR.
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

void TabConfigWindow::setShown(QWidget *widget, bool shown)
{
    if (widget->isHidden() != shown)
        return;
    if (!shown)
        m_focus->release(widget);
    widget->setVisible(shown);
}

void TabConfigWindow::setUsable(QWidget *widget, bool enabled, bool tabStop)
{
    if (widget->isEnabled() != enabled) {
        if (!enabled)
            m_focus->release(widget);
        widget->setEnabled(enabled);
    }
    const Qt::FocusPolicy policy = tabStop ? Qt::StrongFocus : Qt::ClickFocus;
    if (widget->focusPolicy() != policy)
        widget->setFocusPolicy(policy);
}

// --- what the user does -------------------------------------------------------

void TabConfigWindow::textEdited(int index, const QString &text)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, txtP_Change"), [&] { m_form.txtP(index).setText(text); });
}

void TabConfigWindow::listActivated(int index, int position)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, cmbP_Click"), [&] { m_form.cmbP(index).setListIndex(position); });
}

void TabConfigWindow::labelHovered(int index)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, lblP_MouseMove"), [&] {
        LabelField &label = m_form.lblP(index);
        if (label.foreColor() == Colour::GrayText)
            return;
        label.setToolTipText(
            QStringLiteral("Default value = ") + NumberText::variant(m_ctx.params.varDefault[size_t(index)]));
    });
}

bool TabConfigWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // A value box keeps Undo and Redo for its own typing; with none to
        // take back they go to the editor's history.
        auto *box = qobject_cast<QLineEdit *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (box
            && ((key->matches(QKeySequence::Undo) && !box->isUndoAvailable())
                || (key->matches(QKeySequence::Redo) && !box->isRedoAvailable())))
            return true;
        break;
    }
    case QEvent::Enter:
    case QEvent::MouseMove:
    case QEvent::ToolTip: {
        const QVariant index = watched->property("index");
        if (index.isValid())
            labelHovered(index.toInt());
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TabConfigWindow::userSelectsTabs(TabPos pos, const QString &location)
{
    m_ctx.trap(location, [&] {
        // The field being edited goes out of sight: it is left first, and a
        // refused entry keeps its tab in front.
        const FieldFocus::Field current = m_focus->current();
        if (current.valid() && m_rows[size_t(current.index)].pos != pos && !m_focus->leaveCurrent())
            return;
        showTabs(pos);
    });
}

void TabConfigWindow::showTabs(TabPos pos)
{
    m_groups->setCurrent(pos.group);
    m_subTabs[size_t(pos.group)]->setCurrent(pos.sub);
}

void TabConfigWindow::restoreTabStops()
{
    for (int i : EditorForm::fieldIndices()) {
        if (m_ctx.params.blnTextShown[size_t(i)])
            m_form.txtP(i).setTabStop(true);
        if (m_form.hasCmbP(i) && m_ctx.params.blnListShown[size_t(i)])
            m_form.cmbP(i).setTabStop(true);
    }
}

void TabConfigWindow::showEvent(QShowEvent *event)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, Form_Paint"), [&] {
        restoreTabStops();
        alignValueColumn();
    });
    QWidget::showEvent(event);
}

void TabConfigWindow::closeEvent(QCloseEvent *event)
{
    bool close = false;
    m_ctx.trap(QStringLiteral("frmTabConfig, Form_QueryUnload"), [&] {
        if (m_mainClosing) {
            close = true;
            return;
        }
        if (!m_focus->leaveCurrent())
            return;
        if (m_form.tag() == QLatin1String("2")) {
            const auto shown = std::find_if(m_wiz.begin(), m_wiz.end(), [](QPushButton *b) { return !b->isHidden(); });
            if (shown != m_wiz.end())
                clickWizButton(int(shown - m_wiz.begin()));
        }
        hideEditor();
    });
    if (close)
        event->accept();
    else
        event->ignore();
}

// --- FieldFocus::Host ---------------------------------------------------------

QWidget *TabConfigWindow::fieldWidget(FieldFocus::Field field) const
{
    if (field.index < 0 || field.index >= int(m_rows.size()))
        return nullptr;
    const Row &row = m_rows[size_t(field.index)];
    return field.kind == FieldKind::List ? static_cast<QWidget *>(row.list) : row.text;
}

FieldFocus::Field TabConfigWindow::fieldAt(const QWidget *widget) const
{
    return m_fieldOf.value(widget);
}

void TabConfigWindow::showField(int index)
{
    showTabs(m_rows[size_t(index)].pos);
}

void TabConfigWindow::fieldEntered(FieldFocus::Field field)
{
    if (const std::optional<TabPos> tabs = EditorLayout::focusTabs(field.index))
        showTabs(*tabs);
    if (field.kind != FieldKind::Text)
        return;
    restoreTabStops();
    m_rows[size_t(field.index)].text->setSelection(0, 8);
}

QList<QWidget *> TabConfigWindow::stops() const
{
    struct Stop
    {
        int tabIndex;
        int index;
        QWidget *widget;
    };
    QVector<Stop> fields;
    for (int i : EditorForm::fieldIndices()) {
        const Row &row = m_rows[size_t(i)];
        if (!m_groups->isTabEnabled(row.pos.group))
            continue;
        if (row.list && m_form.cmbP(i).visible()) {
            const ComboField &list = m_form.cmbP(i);
            if (list.enabled() && list.tabStop())
                fields.append({list.tabIndex(), i, row.list});
            continue;
        }
        const TextBoxField &text = m_form.txtP(i);
        if (text.visible() && text.enabled() && text.tabStop())
            fields.append({text.tabIndex(), i, row.text});
    }
    std::stable_sort(fields.begin(), fields.end(),
        [](const Stop &a, const Stop &b) { return std::tie(a.tabIndex, a.index) < std::tie(b.tabIndex, b.index); });
    QList<QWidget *> out;
    for (const Stop &s : fields)
        out << s.widget;
    for (QPushButton *button : m_wiz)
        if (!button->isHidden() && button->isEnabled())
            out << button;
    if (!m_close->isHidden())
        out << m_close;
    return out;
}

// --- showing, hiding, wizard --------------------------------------------------

QWidget *TabConfigWindow::frame()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    return sub ? static_cast<QWidget *>(sub) : this;
}

void TabConfigWindow::setFieldEvents(FieldEvents *events)
{
    m_focus->setEvents(events);
}

FieldEvents *TabConfigWindow::fieldEvents() const
{
    return m_focus->events();
}

// The values of every page start at one x: the caption column is as wide as
// the widest caption of the configuration.
void TabConfigWindow::alignValueColumn()
{
    int width = 0;
    for (const Row &row : m_rows)
        if (row.label)
            width = std::max(width, row.label->sizeHint().width());
    for (PageTabs *tabs : m_subTabs)
        for (int s = 0; s < tabs->count(); ++s)
            static_cast<QGridLayout *>(tabs->page(s)->layout())->setColumnMinimumWidth(1, width);
}

void TabConfigWindow::showEditor()
{
    alignValueColumn();
    show();
    frame()->show();
    frame()->raise();
}

bool TabConfigWindow::hideEditor()
{
    if (!m_focus->leaveCurrent())
        return false;
    frame()->hide();
    return true;
}

bool TabConfigWindow::commitFocusedField()
{
    const FieldFocus::Field current = m_focus->current();
    if (!m_focus->leaveCurrent())
        return false;
    // Still in the same field: entered again, so that its next leave is
    // checked too.
    if (QWidget *widget = fieldWidget(current); widget && widget->hasFocus())
        m_focus->moveTo(current);
    return true;
}

QPushButton *TabConfigWindow::wizButton(int k) const
{
    return k >= 0 && k < WizButtonCount ? m_wiz[size_t(k)] : nullptr;
}

void TabConfigWindow::setWizButtonVisible(int k, bool visible)
{
    if (QPushButton *button = wizButton(k))
        button->setVisible(visible);
}

void TabConfigWindow::clickWizButton(int k)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, cmdWiz_Click"), [&] {
        if (!m_focus->leaveCurrent())
            return;
        Q_EMIT wizardStepDone(k);
    });
}

void TabConfigWindow::setCloseButtonVisible(bool visible)
{
    m_close->setVisible(visible);
}

void TabConfigWindow::setGroupTabEnabled(int group, bool enabled)
{
    if (group >= 0 && group < EditorLayout::GroupCount)
        m_groups->setTabEnabled(group, enabled);
}

bool TabConfigWindow::isGroupTabEnabled(int group) const
{
    return group >= 0 && group < EditorLayout::GroupCount && m_groups->isTabEnabled(group);
}

void TabConfigWindow::setPictureAction(const QString &name, std::function<void()> action)
{
    auto *button = findChild<QPushButton *>(name);
    if (!button)
        return;
    button->setEnabled(true);
    connect(button, &QPushButton::clicked, this, [this, name, action = std::move(action)] {
        m_ctx.trap(QStringLiteral("frmTabConfig, ") + name + QStringLiteral("_Click"), action);
    });
}

bool TabConfigWindow::selectGroup(int group, int subTab)
{
    if (group < 0 || group >= EditorLayout::GroupCount)
        return false;
    PageTabs *tabs = m_subTabs[size_t(group)];
    const TabPos pos {group, subTab >= 0 && subTab < tabs->count() ? subTab : tabs->current()};
    const FieldFocus::Field current = m_focus->current();
    if (current.valid() && m_rows[size_t(current.index)].pos != pos && !m_focus->leaveCurrent())
        return false;
    showTabs(pos);
    return true;
}

int TabConfigWindow::currentGroup() const
{
    return m_groups->current();
}

int TabConfigWindow::currentSubTab(int group) const
{
    return group >= 0 && group < EditorLayout::GroupCount ? m_subTabs[size_t(group)]->current() : -1;
}

void TabConfigWindow::setQuickStartDotsVisible(int group, bool visible)
{
    for (QLabel *dot : m_dots.value(group))
        dot->setVisible(visible);
}

void TabConfigWindow::setQuickStartLegendVisible(bool visible)
{
    m_dotQuickStart->setVisible(visible);
    m_lblQuickStart->setVisible(visible);
}

QLineEdit *TabConfigWindow::valueBox(int index) const
{
    return index >= 0 && index < int(m_rows.size()) ? m_rows[size_t(index)].text : nullptr;
}

QComboBox *TabConfigWindow::choiceList(int index) const
{
    return index >= 0 && index < int(m_rows.size()) ? m_rows[size_t(index)].list : nullptr;
}

QLabel *TabConfigWindow::label(int index) const
{
    return index >= 0 && index < int(m_rows.size()) ? m_rows[size_t(index)].label : nullptr;
}

} // namespace Tarvel
