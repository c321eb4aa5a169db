#pragma once

#include "kivinform.h"

// Asks the user for two values (the first-run server prompt), read from Edit1
// and Edit2 when Esito is 1.
class TKivIn2Form : public TKivInForm
{
    Q_OBJECT
public:
    explicit TKivIn2Form(QWidget *owner = nullptr);

    QLineEdit *Edit2;
};
