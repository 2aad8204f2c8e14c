#pragma once
// Fields of an image by name: "unit.KEY", "group.N.KEY" and
// "group.N.channel.M.KEY", with the user's numbers (groups 1-15, channels
// 1-14) and "*" for every group or channel. The keys are those of the field
// table, as `tavctl dump --json` prints them.
//
// A value equal to what the image already holds is always taken as it is,
// so the values of any image apply to another; a changed value must pass the
// entry rules the windows apply, and read-only fields are refused.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "model/AppState.h"

namespace tav {

struct FieldAssignment {
    QString path;
    QString value;
};
struct FieldPathError {
    QString path;
    QString reason;
};

// Every assignment or none: on failure `image` is left byte for byte as it was.
bool SetFields(AppState& image, const QList<FieldAssignment>& edits, FieldPathError* error);
// As above; `changed` (when given) counts the fields whose value differs afterwards.
bool SetFields(AppState& image, const QList<FieldAssignment>& edits, FieldPathError* error,
               int* changed);
// The values a path names (several with '*'), in group then channel order.
bool GetField(const AppState& image, const QString& path, QStringList* values,
              FieldPathError* error);

// "PATH=VALUE" split at its first "="; false when there is none.
bool ParseFieldAssignment(const QString& text, FieldAssignment* edit, FieldPathError* error);
// The assignments of any subset of the shape `tavctl dump --json` prints, in
// the order they stand in the text. A group's "number" and a channel's
// "channel" say where; check boxes are true or false; the null that the dump
// gives group 15's missing power setting is passed over.
bool FieldEditsFromJson(const QByteArray& json, QList<FieldAssignment>* edits,
                        FieldPathError* error);

}  // namespace tav
