#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

// "Selezione Percorso": a mounted volume, then a folder in its tree.
// Answers 1 (Ok) or 2 (Cancel); the chosen folder is Directory().
class TSelDirForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSelDirForm(QWidget *owner);

    QLabel *LabelUnita;
    QComboBox *DriveComboBox1;
    QLabel *LabelPercorso;
    QTreeView *DirectoryListBox1;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

    // The roots of the mounted volumes, as the drive combo lists them.
    static QStringList Unita();

    QString Directory() const { return m_directory; }
    // Chooses the folder, and the volume that holds it.
    void setDirectory(const QString &percorso);
    // Roots the folder tree at a volume and chooses its root.
    void setUnita(const QString &radice);

protected:
    void showEvent(QShowEvent *e) override;

private:
    QFileSystemModel *m_model;
    QString m_directory;
};
