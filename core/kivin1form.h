#pragma once

#include "kivinform.h"

// Asks the user for one value, read from Edit1 when Esito is 1.
class TKivIn1Form : public TKivInForm
{
    Q_OBJECT
public:
    explicit TKivIn1Form(QWidget *owner = nullptr);
};
