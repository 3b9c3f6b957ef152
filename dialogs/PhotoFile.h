#pragma once
#include <QString>

// Why the picture at `path` cannot be sent with a registration ("" when it can): it must be a
// readable JPG or PNG file, by its name and by its first bytes. `label` names the field in the message.
QString photoProblem(const QString &label, const QString &path);
