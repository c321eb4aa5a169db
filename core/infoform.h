#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's title, as the boxes without a kind and the information box
// show it.
QString productTitle();

// The information box of the "Info" menu.
class TInfoForm : public QDialog
{
    Q_OBJECT
public:
    explicit TInfoForm(QWidget *owner = nullptr);

    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QPushButton *OKButton;
};
