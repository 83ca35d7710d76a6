#pragma once

#include "model/DriveKey.h"

#include <QString>

namespace Tarvel {

class AppContext;
class Catalogue;
class ComboField;
class EditorForm;

// Loads a drive's parameter set from the catalogue into the parameter
// records and an editor's fields: every new configuration, file open,
// upload and change of rating starts here.
class ParamLoader
{
public:
    explicit ParamLoader(AppContext &ctx);

    // Loads the drive into the detailed editor from "qryTabParams".
    bool loadDrive(const DriveKey &drive);
    // getParamData: series, model and rev come already in single quotes
    // ('02'); source is the catalogue source, "qryTabParams". True when the
    // load ran to its end.
    bool getParamData(
        EditorForm &form, const QString &source, const QString &series, const QString &model, const QString &rev);
    // ClearObjects: empty and hide every field, and make each editable
    // again: what a rule disabled for the previous drive must not outlive it.
    void clearObjects(EditorForm &form);
    // Labels: every caption to the grey "not used" text.
    void labels(EditorForm &form);
    // getExtraData: fill one choice list from qryExtraData.
    void getExtraData(Catalogue &catalogue, const QString &series, const QString &model, const QString &rev,
        const QString &parameter, ComboField &list);

    // The caption of a parameter the drive does not have.
    static QString notUsedCaption(int index);

private:
    void enableAll(EditorForm &form);
    void loadRows(EditorForm &form, Catalogue &catalogue, const QString &sql, const QString &series,
        const QString &model, const QString &rev);

    AppContext &m_ctx;
};

} // namespace Tarvel
