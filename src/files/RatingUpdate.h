#pragma once

#include "model/DriveKey.h"

#include <QString>
#include <QVector>

#include <functional>

namespace Tarvel {

class AppContext;

// Change of drive rating: moves the current configuration to another drive
// model or revision. Every value the user could edit is kept, the new
// drive's parameter set is loaded from the catalogue, and each kept value
// that the new drive accepts is put back; the rest show the new defaults.
// Reports to the status list and ends with the "Update Complete" message.
class RatingUpdate
{
public:
    explicit RatingUpdate(AppContext &ctx);

    // Called once the chosen drive is known to be in the catalogue, just
    // before the new drive is loaded: the change-rating dialog closes there.
    void setCloseDialog(std::function<void()> closeDialog) { m_closeDialog = std::move(closeDialog); }

    // Update: chosenEntry is a line of the change-rating dialog's drive
    // list, model name + " @ rev. " + revision code. False when the update
    // did not run to its end: an entry the catalogue does not know ends it
    // through the trap before the configuration is touched; a failed load
    // has been reported by the loader.
    bool update(const QString &chosenEntry);

    static const QString Separator; // " @ rev. "
    static const QString Location; // "basFunctions, Update()"

private:
    bool steps(const QString &chosenEntry);
    void beginDisplay();
    void storeValues();
    bool isEditable(int index) const;
    DriveKey findDrive(const QString &chosenEntry);
    bool loadNewDrive();
    void verifyValues();
    bool carriesOver(int index) const;
    bool accepts(int index, const QString &value) const;
    void putBack(int index, const QString &value);
    void setCustomCurveBoxes();
    void finish();
    void endDisplay();

    AppContext &m_ctx;
    std::function<void()> m_closeDialog;
    // The kept values by index; an empty text means nothing was kept.
    QVector<QString> m_store;
};

} // namespace Tarvel
