#include "DiagsWindow.h"

#include "app/TraceListing.h"
#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

// 5900 twips wide; 250 twips in from the main window's left edge and 500
// above its lower edge, at 15 twips a pixel.
constexpr int Width = 393;
constexpr int LeftInset = 17;
constexpr int BottomInset = 33;

} // namespace

DiagsWindow::DiagsWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ctx(ctx)
    , m_list(new QListWidget(this))
    , m_trace(new QCheckBox(QStringLiteral("Enable Diag Listing"), this))
{
    setObjectName(QStringLiteral("frmDiags"));
    setWindowTitle(QStringLiteral("Diagnostics - For Developer Use Only!"));
    setWindowIcon(AppIcons::application());
    m_list->setObjectName(QStringLiteral("lstDiags"));
    m_trace->setObjectName(QStringLiteral("chkDiags"));
    m_trace->setChecked(ctx.state.blnDiagsTrace);
    m_list->addItems(ctx.trace.lines());
    connect(&ctx.trace, &DiagTrace::lineAdded, m_list, [this](const QString &line) {
        m_list->addItem(line);
        m_list->scrollToBottom();
    });
    connect(m_trace, &QCheckBox::clicked, this, [this] {
        m_ctx.trap(QStringLiteral("frmDiags, chkDiags_Click"), [&] {
            m_ctx.state.blnDiagsTrace = !m_ctx.state.blnDiagsTrace;
            m_trace->setChecked(m_ctx.state.blnDiagsTrace);
        });
    });

    const auto button = [this](const char *caption, const char *name) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    QPushButton *close = button("Close", "cmdClose");
    QPushButton *print = button("Print", "cmdPrint");
    QPushButton *remove = button("Delete", "cmdDelete");
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(print, &QPushButton::clicked, this,
        [this] { m_ctx.trap(QStringLiteral("frmDiags, cmdPrint_Click"), [&] { TraceListing::print(m_ctx); }); });
    connect(remove, &QPushButton::clicked, this, [this] {
        m_ctx.trap(QStringLiteral("frmDiags, cmdDelete_Click"), [&] {
            m_ctx.trace.clear();
            m_list->clear();
        });
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_trace);
    buttons->addStretch();
    buttons->addWidget(remove);
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(Width, 260);
}

void DiagsWindow::placeBy(const QWidget *main)
{
    if (!main)
        return;
    const QRect frame = main->frameGeometry();
    resize(Width, height());
    move(frame.left() + LeftInset, frame.bottom() - BottomInset - frameGeometry().height());
}

} // namespace Tarvel
