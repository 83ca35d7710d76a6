#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace Tarvel {

class AppContext;

// frmFaults without its widgets: the drive's record of its six most recent
// faults, P6.31 (the present one) to P6.36, read from the drive and told
// as text.
class FaultHistory
{
public:
    static constexpr int RecordCount = 6;
    static constexpr int FirstRegister = 1568; // P6.31

    enum class Outcome { Read, NoLink, Failed };

    explicit FaultHistory(AppContext &ctx);

    // FaultCodes: the text of a fault code 0..20; none for any other code.
    static std::optional<QString> faultText(int code);
    // The caption labels, P6.31 first ("P6.31 - Present Fault Record:").
    static const QStringList &captions();

    // cmdRead_Click (also run when the window opens). Without a link asks
    // whether to connect and runs `showConnection` on Yes. A read that
    // failed changes no label.
    Outcome read(const std::function<void()> &showConnection = {});

    // The six value labels: a code outside the table leaves its label as
    // it was (empty before the first read that gave a known code).
    const QStringList &texts() const { return m_texts; }
    // The codes of the last read that succeeded, P6.31 first.
    const QList<int> &codes() const { return m_codes; }

private:
    bool readSerial();
    bool readEthernet();
    void show(int record, int code);

    AppContext &m_ctx;
    QStringList m_texts;
    QList<int> m_codes;
};

} // namespace Tarvel
