#pragma once

#include "EditorFields.h"

#include <QObject>
#include <QVector>

#include <memory>
#include <vector>

namespace Tarvel {

// The headless model of the detailed editor frmTabConfig: the field arrays
// txtP, cmbP and lblP indexed by parameter index, the window's Tag and
// caption. The configuration lives here; the editor window renders it.
// Indices without a field are absent, as in the classic control arrays:
// reaching one raises error 340.
class EditorForm : public QObject
{
    Q_OBJECT
public:
    static constexpr int IndexCount = 1100;

    explicit EditorForm(QObject *parent = nullptr);
    ~EditorForm() override;

    // The 227 indices that have a label and a value box, ascending.
    static const QVector<int> &fieldIndices();
    // The indices that also have a choice list, ascending.
    static const QVector<int> &choiceIndices();

    bool hasTxtP(int index) const;
    bool hasCmbP(int index) const;
    bool hasLblP(int index) const;
    TextBoxField &txtP(int index);
    ComboField &cmbP(int index);
    LabelField &lblP(int index);
    const TextBoxField &txtP(int index) const;
    const ComboField &cmbP(int index) const;
    const LabelField &lblP(int index) const;

    // LBound and UBound of each array.
    int lowerBound(FieldKind kind) const;
    int upperBound(FieldKind kind) const;

    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    // The Tag read as a number, as the main window tests it.
    int tagNumber() const { return m_tag.trimmed().toInt(); }
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // Focus as the rules hand it back to a field.
    void setFocus(FieldKind kind, int index);
    int focusIndex() const { return m_focusIndex; }
    FieldKind focusKind() const { return m_focusKind; }

    // Called by the fields.
    void fieldChanged(FieldKind kind, int index);
    void textEdited(int index);

Q_SIGNALS:
    void changed(Tarvel::FieldKind kind, int index);
    // txtP_Change: the text of a value box changed, by the user or by code.
    void textChanged(int index);
    void tagChanged(const QString &tag);
    void captionChanged(const QString &caption);
    void focusRequested(Tarvel::FieldKind kind, int index);

private:
    std::vector<std::unique_ptr<TextBoxField>> m_txt;
    std::vector<std::unique_ptr<ComboField>> m_cmb;
    std::vector<std::unique_ptr<LabelField>> m_lbl;
    QString m_tag = QStringLiteral("0");
    QString m_caption = QStringLiteral("  Detailed Configuration");
    int m_focusIndex = -1;
    FieldKind m_focusKind = FieldKind::Text;
};

} // namespace Tarvel
