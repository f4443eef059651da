#pragma once

class QObject;

// The integer tag a window gives a control so that ToggleControls can pick the controls of one
// function code. Kinds that declare a `tag` property keep it there; any other object keeps it
// as a dynamic property of the same name.
void setTag(QObject* object, int tag);
int tagOf(const QObject* object);
