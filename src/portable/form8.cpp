#include "portable/form8.h"

#include "about/form5.h"
#include "about/pictures.h"
#include "common/messages.h"
#include "common/twips.h"
#include "common/version.h"
#include "platform/screen.h"
#include "programa.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTreeView>

#include <algorithm>

namespace {

// Is path the folder itself or somewhere below it?
bool inside(const QString& path, const QString& folder) {
    if (folder == QStringLiteral("/")) {
        return path.startsWith(u'/');
    }
    return path == folder || path.startsWith(folder + u'/');
}

bool pseudoFileSystem(const QByteArray& type) {
    static const QList<QByteArray> kinds = {
        "proc",      "sysfs",  "devtmpfs",    "devpts",   "cgroup",   "cgroup2", "securityfs",
        "pstore",    "bpf",    "debugfs",     "tracefs",  "configfs", "fusectl", "mqueue",
        "hugetlbfs", "autofs", "binfmt_misc", "efivarfs", "squashfs", "nsfs",    "rpc_pipefs"};
    return kinds.contains(type);
}

struct Volume {
    QString root;
    QString caption;
};

// Where a portable copy can go: the root, the user's home and the removable or extra media.
QList<Volume> volumes() {
    QList<Volume> found{{QStringLiteral("/"), QStringLiteral("/")}};
    const QString home = QDir::homePath();
    if (home != QStringLiteral("/")) {
        found.append({home, home + QStringLiteral(" (carpeta personal)")});
    }
    QList<Volume> media;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || pseudoFileSystem(volume.fileSystemType()) ||
            !(inside(root, QStringLiteral("/media")) || inside(root, QStringLiteral("/mnt")) ||
              inside(root, QStringLiteral("/run/media")))) {
            continue;
        }
        const QString name = volume.displayName();
        media.append({root, name.isEmpty() || name == root
                                ? root
                                : root + QStringLiteral(" (") + name + u')'});
    }
    std::sort(media.begin(), media.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    found.append(media);
    return found;
}

// A source as it lies in its folder, whatever the letter case of its name. A file that is not
// there keeps the name asked for, so the copy names it when it fails.
QString lookUp(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name))) {
        return dir.filePath(name);
    }
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return dir.filePath(entry);
        }
    }
    return dir.filePath(name);
}

// Where a source lies.
enum class Folder { Program, Executable, Modules };

struct PortableFile {
    const char* source;
    const char* destination;
    int progress;
    Folder folder;
};

// In the order of the copy; the bar is full after the sixth. The destination names are spelled
// as the copy creates them.
constexpr PortableFile kFiles[] = {
    {"nodav.wav", "nodav.wav", 20, Folder::Program},
    {"tempix", "tempix", 20, Folder::Executable},
    {"LEAME.rtf", "LEAME.RTF", 20, Folder::Program},
    {"LICENCIA.rtf", "LICENCIA.RTF", 20, Folder::Program},
    {"tempix_help.html", "tempix_help.html", 10, Folder::Program},
    {"tempix-sound.so", "tempix-sound.so", 10, Folder::Modules},
};

QString folderOf(Folder folder, PathService& paths) {
    switch (folder) {
        case Folder::Executable:
            return paths.executableFolder();
        case Folder::Modules:
            return paths.moduleFolder();
        case Folder::Program:
            break;
    }
    return paths.programFolder();
}

}  // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {}

void DriveList::refresh() {
    const QString chosen = root();
    const QSignalBlocker blocker(this);
    clear();
    for (const Volume& volume : volumes()) {
        addItem(volume.caption, volume.root);
    }
    if (!chosen.isEmpty()) {
        int index = findData(chosen);
        if (index < 0) {
            // Gone since it was chosen: it stays the choice, and a copy to it says what is wrong.
            addItem(chosen, chosen);
            index = count() - 1;
        }
        setCurrentIndex(index);
    }
}

int DriveList::indexHolding(const QString& path) const {
    int best = 0;
    qsizetype longest = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (inside(path, root) && root.size() > longest) {
            best = i;
            longest = root.size();
        }
    }
    return best;
}

void DriveList::showPopup() {
    refresh();
    QComboBox::showPopup();
}

void DriveFolders::setDrive(const QString& root) {
    root_ = root;
    invalidateFilter();
}

bool DriveFolders::filterAcceptsRow(int row, const QModelIndex& parent) const {
    const auto* model = static_cast<const QFileSystemModel*>(sourceModel());
    const QString path = model->filePath(model->index(row, 0, parent));
    // The drive's folders, and the folders above its root so the root can be shown.
    return inside(path, root_) || inside(root_, path);
}

Form8::Form8(Programa& p) : Form(p) {
    // A tool window: no taskbar entry, a close box, neither minimise nor maximise box.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsSize(5415, 3015));

    Image1 = placed(new Label(QString(), this), twipsRect(120, 120, 915, 915));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(logoPicture().scaled(twips(915), twips(915), Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);

    Label2 =
        placed(new Label(QStringLiteral("Nodavia 2019"), this), twipsRect(120, 1440, 855, 375));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->growToWrappedText();
    Label2->setCursor(Qt::PointingHandCursor);

    copiar =
        placed(new QPushButton(QStringLiteral("Portar!!"), this), twipsRect(120, 2040, 855, 495));
    copiar->setObjectName(QStringLiteral("copiar"));

    aviso = placed(new Label(QString(), this), twipsRect(120, 2640, 855, 255));
    aviso->setObjectName(QStringLiteral("aviso"));
    aviso->setAlignment(Qt::AlignCenter);
    QPalette red = aviso->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    aviso->setPalette(red);

    // The explanation takes the room down to the drive list: three lines in most fonts.
    Label1 = placed(new Label(QStringLiteral("Con esta herramienta podrá exportar Nodavia Tempix "
                                             "para Portarlo, y asi poder utilizarlo sin necesidad "
                                             "de instalación."),
                              this),
                    twipsRect(1200, 120, 4215, 690));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    drive = placed(new DriveList(this), twipsRect(1200, 840, 4095, 315));
    drive->setObjectName(QStringLiteral("drive"));

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setReadOnly(true);
    shown_ = new DriveFolders(this);
    shown_->setSourceModel(folders_);
    shown_->setSortCaseSensitivity(Qt::CaseInsensitive);
    shown_->sort(0);
    dirs = placed(new QTreeView(this), twipsRect(1200, 1200, 4095, 990));
    dirs->setObjectName(QStringLiteral("dirs"));
    dirs->setModel(shown_);
    dirs->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column) {
        dirs->hideColumn(column);
    }
    dirs->setUniformRowHeights(true);
    dirs->setIndentation(twips(180));

    ruta = placed(new TextBox(this), twipsRect(1200, 2280, 4095, 285));
    ruta->setObjectName(QStringLiteral("ruta"));
    ruta->setEnabled(false);
    ruta->setBackColour(BackColour::Grey);

    Proceso = placed(new QProgressBar(this), twipsRect(1200, 2640, 4095, 255));
    Proceso->setObjectName(QStringLiteral("Proceso"));
    Proceso->setRange(0, 100);
    Proceso->setValue(0);
    Proceso->setTextVisible(false);

    // What a screen reader announces for the controls without a caption.
    drive->setAccessibleName(QStringLiteral("Unidad"));
    dirs->setAccessibleName(QStringLiteral("Carpetas"));
    ruta->setAccessibleName(QStringLiteral("Carpeta de destino"));
    Proceso->setAccessibleName(QStringLiteral("Progreso de la copia"));
}

void Form8::Form_Load() {
    setWindowTitle(versionCaption());

    // The current drive and folder are shown, but nothing is the destination yet.
    drive->refresh();
    const QString current = QDir::currentPath();
    drive->setCurrentIndex(drive->indexHolding(current));
    lastDrive_ = drive->currentIndex();
    const QString root = drive->root();
    shown_->setDrive(root);
    folders_->setRootPath(root);
    dirs->setRootIndex(shown_->mapFromSource(folders_->index(root).parent()));
    setDirsPath(current);

    // Folders are read in the background: once those above the current one are in, it can be
    // scrolled into view.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (inside(dirsPath(), loaded)) {
            dirs->scrollTo(dirs->currentIndex());
        }
    });
    connect(drive, &QComboBox::currentIndexChanged, this, &Form8::drive_Change);
    // The list's current folder also moves when that folder goes away (a medium unplugged,
    // a folder renamed): the destination follows only what the user picks.
    connect(dirs->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (!previous.isValid() ||
                    QFileInfo(folders_->filePath(shown_->mapToSource(previous))).isDir()) {
                    dirs_Change();
                }
            });
    // The folder shown at load is already the current one: a click on it chooses it too.
    connect(dirs, &QTreeView::clicked, this, &Form8::dirs_Change);
    connect(copiar, &QPushButton::clicked, this, &Form8::copiar_Click);
    connect(Label2, &Label::Click, this, &Form8::Label2_Click);
}

QString Form8::dirsPath() const {
    const QModelIndex current = dirs->currentIndex();
    if (!current.isValid()) {
        return drive->root();
    }
    return folders_->filePath(shown_->mapToSource(current));
}

bool Form8::setDirsPath(const QString& path) {
    const QString folder = QDir::cleanPath(path);
    const QModelIndex item = shown_->mapFromSource(folders_->index(folder));
    // The folders above the drive's root are in the model only to hold the root.
    if (!item.isValid() || !inside(folder, shown_->drive())) {
        return false;
    }
    for (QModelIndex above = item.parent(); above.isValid(); above = above.parent()) {
        dirs->expand(above);
    }
    dirs->setCurrentIndex(item);
    dirs->expand(item);
    dirs->scrollTo(item);
    return true;
}

void Form8::drive_Change() {
    const QString root = drive->root();
    const QFileInfo folder(root);
    if (!folder.isDir() || !folder.isReadable() || !QStorageInfo(root).isReady()) {
        programa.platform.messages.show(this,
                                        QStringLiteral("No se puede abrir la unidad %1: no tiene "
                                                       "ningún medio o no se puede leer.")
                                            .arg(drive->currentText()),
                                        MessageIcon::Critical, kTitle);
        // The folder list stays on the drive it showed, and so does the destination.
        const QSignalBlocker blocker(drive);
        drive->setCurrentIndex(lastDrive_);
        return;
    }
    lastDrive_ = drive->currentIndex();
    shown_->setDrive(root);
    folders_->setRootPath(root);
    dirs->setRootIndex(shown_->mapFromSource(folders_->index(root).parent()));
    // The drive's current folder is its root.
    setDirsPath(root);
}

void Form8::dirs_Change() {
    const QString path = dirsPath();
    ruta->setText(path.endsWith(u'/') ? path : path + u'/');
}

void Form8::copiar_Click() {
    if (ruta->text().isEmpty()) {
        programa.platform.messages.show(
            this, QStringLiteral("Selecciona alguna ubicacion para continuar."),
            MessageIcon::Critical, kTitle);
        return;
    }
    if (!QFileInfo(ruta->text()).isDir()) {
        programa.platform.messages.show(
            this,
            QStringLiteral("No se puede copiar a \"%1\": la carpeta ya no existe. Elige otra "
                           "ubicacion.")
                .arg(ruta->text()),
            MessageIcon::Critical, kTitle);
        return;
    }
    Proceso->setValue(Proceso->minimum());
    PathService& paths = programa.platform.paths;
    for (const PortableFile& file : kFiles) {
        const QString name = QString::fromLatin1(file.source);
        const QString source = lookUp(folderOf(file.folder, paths), name);
        const QString destination = ruta->text() + QString::fromLatin1(file.destination);
        const QString failure = programa.platform.files.copyReplacing(source, destination);
        if (!failure.isEmpty()) {
            programa.platform.messages.show(
                this,
                QStringLiteral("No se pudo copiar el archivo \"%1\" a \"%2\".\n\n%3")
                    .arg(QFileInfo(source).fileName(), destination, failure),
                MessageIcon::Critical, kTitle);
            return;
        }
        Proceso->setValue(Proceso->value() + file.progress);
        // The copy does not yield to the event loop, but the bar should still move.
        Proceso->repaint();
    }
    aviso->setCaption(QStringLiteral("Listo!!!"));
}

void Form8::Label2_Click() {
    Form5& about = programa.form5();
    bringUp(about);
}
