#include "EditorForm.h"

#include "base/ErrorCodes.h"
#include "base/TrappedError.h"

namespace Tarvel {

namespace {

QVector<int> range(int first, int last)
{
    QVector<int> out;
    for (int i = first; i <= last; ++i)
        out << i;
    return out;
}

[[noreturn]] void noElement(int index)
{
    throw TrappedError(
        Err::NoSuchControlElement, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
}

template<class T> T &element(const std::vector<std::unique_ptr<T>> &array, int index)
{
    if (index < 0 || index >= int(array.size()) || !array[size_t(index)])
        noElement(index);
    return *array[size_t(index)];
}

template<class T> int bound(const std::vector<std::unique_ptr<T>> &array, bool upper)
{
    if (upper) {
        for (int i = int(array.size()) - 1; i >= 0; --i)
            if (array[size_t(i)])
                return i;
    } else {
        for (int i = 0; i < int(array.size()); ++i)
            if (array[size_t(i)])
                return i;
    }
    return -1;
}

} // namespace

const QVector<int> &EditorForm::fieldIndices()
{
    static const QVector<int> indices = [] {
        QVector<int> out;
        const int last[] = {7, 22, 10, 31, 18, 15, 36, 28, 2, 42, 5}; // last number per group
        for (int group = 0; group <= 10; ++group)
            out += range(group * 100, group * 100 + last[group]);
        return out;
    }();
    return indices;
}

const QVector<int> &EditorForm::choiceIndices()
{
    static const QVector<int> indices = [] {
        QVector<int> out {0, 2, 5, 100, 107, 200, 208, 210};
        out += range(300, 314);
        out += {331, 400, 401, 404, 405, 411, 413, 414, 418};
        out += range(600, 607);
        out += range(630, 636);
        out += {700, 702, 704, 727, 800, 802};
        out += range(900, 904);
        out += {907, 908};
        out += range(927, 931);
        out += range(939, 942);
        out += {1001, 1005};
        return out;
    }();
    return indices;
}

EditorForm::EditorForm(QObject *parent)
    : QObject(parent)
    , m_txt(IndexCount)
    , m_cmb(IndexCount)
    , m_lbl(IndexCount)
{
    for (int i : fieldIndices()) {
        m_txt[size_t(i)] = std::make_unique<TextBoxField>(this, i);
        m_lbl[size_t(i)] = std::make_unique<LabelField>(this, i);
        m_lbl[size_t(i)]->setCaption(QStringLiteral("   Parameter not used for selected drive model / rev."));
    }
    for (int i : choiceIndices())
        m_cmb[size_t(i)] = std::make_unique<ComboField>(this, i);
}

EditorForm::~EditorForm() = default;

bool EditorForm::hasTxtP(int index) const
{
    return index >= 0 && index < IndexCount && m_txt[size_t(index)];
}
bool EditorForm::hasCmbP(int index) const
{
    return index >= 0 && index < IndexCount && m_cmb[size_t(index)];
}
bool EditorForm::hasLblP(int index) const
{
    return index >= 0 && index < IndexCount && m_lbl[size_t(index)];
}

TextBoxField &EditorForm::txtP(int index)
{
    return element(m_txt, index);
}
ComboField &EditorForm::cmbP(int index)
{
    return element(m_cmb, index);
}
LabelField &EditorForm::lblP(int index)
{
    return element(m_lbl, index);
}
const TextBoxField &EditorForm::txtP(int index) const
{
    return element(m_txt, index);
}
const ComboField &EditorForm::cmbP(int index) const
{
    return element(m_cmb, index);
}
const LabelField &EditorForm::lblP(int index) const
{
    return element(m_lbl, index);
}

int EditorForm::lowerBound(FieldKind kind) const
{
    switch (kind) {
    case FieldKind::Text:
        return bound(m_txt, false);
    case FieldKind::List:
        return bound(m_cmb, false);
    case FieldKind::Label:
        return bound(m_lbl, false);
    }
    return -1;
}

int EditorForm::upperBound(FieldKind kind) const
{
    switch (kind) {
    case FieldKind::Text:
        return bound(m_txt, true);
    case FieldKind::List:
        return bound(m_cmb, true);
    case FieldKind::Label:
        return bound(m_lbl, true);
    }
    return -1;
}

void EditorForm::setTag(const QString &tag)
{
    if (m_tag == tag)
        return;
    m_tag = tag;
    Q_EMIT tagChanged(tag);
}

void EditorForm::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    Q_EMIT captionChanged(caption);
}

void EditorForm::setFocus(FieldKind kind, int index)
{
    m_focusKind = kind;
    m_focusIndex = index;
    Q_EMIT focusRequested(kind, index);
}

void EditorForm::fieldChanged(FieldKind kind, int index)
{
    Q_EMIT changed(kind, index);
}
void EditorForm::textEdited(int index)
{
    Q_EMIT textChanged(index);
}

} // namespace Tarvel
