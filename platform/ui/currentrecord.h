#pragma once

#include <QString>
#include <functional>

class QObject;
class TDataSet;

// Runs the handler whenever what the current record shows may have changed:
// a move, a reset (an opening, a refresh, the views enabled again), a post
// or cancel of the current row, and a change of the watched field (or of
// the whole record) in the current record, a typed one included. A closing
// is silent: it is often a transaction ending, when no query may be opened.
// The handler runs after every observer has heard the news, inside
// Guard::run, and never after the context is gone. The link lives as long
// as the context and the dataset both do.
void onCurrentRecord(TDataSet *dataSet, const QString &field, QObject *context,
                     std::function<void()> handler);
