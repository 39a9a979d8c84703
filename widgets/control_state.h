#pragma once
// What a group of controls shows, as one text: comparing two of them tells
// whether the user changed anything in between, however it was changed
// (typed, pasted, picked, ticked or edited in a list).

#include <QString>

class QWidget;

QString ControlStateFingerprint(const QWidget &root);
