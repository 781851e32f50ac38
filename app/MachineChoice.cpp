#include "MachineChoice.h"

#include "DebugSession.h"
#include "LiveSession.h"
#include "MachineDescription.h"
#include "PerFileSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

#include <optional>

namespace {

const PerFileGroup machineKept{QStringLiteral("Machine"), QStringLiteral("Name")};
const PerFileGroup romKept{QStringLiteral("MachineRom"), QStringLiteral("Path")};
const PerFileGroup memoryKept{QStringLiteral("MachineMemory"), QStringLiteral("KiB")};

// The RAM offered for a machine whose memory can be chosen, in KiB.
constexpr unsigned memorySizes[] = {1, 2, 4, 8, 16};

// The KiB of RAM `machine` was chosen with; none for a machine whose memory is fixed.
std::optional<unsigned> memoryOf(const MachineDescription& machine) {
    for (const unsigned kib : memorySizes)
        if (withMemory(machine, kib) == &machine)
            return kib;
    return std::nullopt;
}

// "&8008-SBC": the first character a menu's key, an ampersand in the title doubled.
QString menuCaption(const MachineDescription& machine) {
    return u'&' + QString::fromStdString(machine.title).replace(u'&', QStringLiteral("&&"));
}

} // namespace

TMachineChoice::TMachineChoice(QWidget& window, TDebugSession& debugging, TLiveSession& live,
                               QSettings& settings, QLabel& messages)
    : QObject(&window), window(window), debugging(debugging), live(live), settings(settings),
      messages(messages), panel(new QLabel(&window)), machine(&consoleMachine()) {
    panel->setObjectName(QStringLiteral("MachinePanel"));
}

void TMachineChoice::BuildMenu(QMenu* run) {
    QMenu* menu = run->addMenu(QStringLiteral("&Machine"));
    auto* group = new QActionGroup(this);
    for (const MachineDescription* each : allMachines()) {
        QAction* item = menu->addAction(menuCaption(*each), this, [this, each] {
            if (each->name != machine->name)
                Choose(*each, QString());
            remember();
        });
        item->setObjectName(QStringLiteral("Machine_") + QString::fromStdString(each->name));
        item->setStatusTip(QString::fromStdString(each->summary));
        item->setCheckable(true);
        group->addAction(item);
        machineItems.append(item);
    }
    menu->addSeparator();
    RomImage1 = menu->addAction(QStringLiteral("&ROM Image..."), this, &TMachineChoice::chooseRomImage);
    NoRomImage1 = menu->addAction(QStringLiteral("&No ROM Image"), this, [this] {
        Choose(*machine, QString());
        remember();
    });
    Memory1 = menu->addMenu(QStringLiteral("Memor&y"));
    auto* sizes = new QActionGroup(this);
    for (const unsigned kib : memorySizes) {
        // "&1 KiB" ... "1&6 KiB": a key of its own for each.
        const QString digits = QString::number(kib);
        QAction* item = Memory1->addAction(digits.left(digits.size() - 1) + u'&' + digits.right(1) + " KiB",
                                           this, [this, kib] {
                                               Choose(*withMemory(*machine, kib), romPath);
                                               remember();
                                           });
        item->setObjectName(QStringLiteral("Memory_%1").arg(kib));
        item->setCheckable(true);
        sizes->addAction(item);
        memoryItems.append(item);
    }
    showChoice();
}

void TMachineChoice::OpenDocument(const QString& path) {
    document = path;
    const MachineDescription* kept =
        machineNamed(rememberedForFile(settings, machineKept, path).toStdString());
    if (const unsigned kib = rememberedForFile(settings, memoryKept, path).toUInt(); kept && kib > 0)
        if (const MachineDescription* sized = withMemory(*kept, kib))
            kept = sized;
    Choose(kept ? *kept : consoleMachine(), rememberedForFile(settings, romKept, path));
}

void TMachineChoice::SavedAs(const QString& path) {
    document = path;
    remember();
}

bool TMachineChoice::Choose(const MachineDescription& chosen, const QString& path) {
    machine = &chosen;
    std::vector<std::uint8_t> image;
    QString reason;
    const bool read = path.isEmpty() || readRom(path, image, reason);
    // An image that is not read is none: the machine runs without it, as without one that does not fit.
    const bool fits = debugging.SetMachine(chosen, image, reason) && read;
    if (!fits) {
        messages.setText(
            QStringLiteral("The ROM image %1 cannot be used: %2.").arg(QFileInfo(path).fileName(), reason));
        image.clear();
    }
    romPath = fits ? path : QString();
    live.SetMachine(chosen, image);
    showChoice();
    return fits;
}

// The whole image, as brenvik-sim reads it, or false with the reason.
bool TMachineChoice::readRom(const QString& path, std::vector<std::uint8_t>& image, QString& reason) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    image.assign(bytes.begin(), bytes.end());
    return true;
}

void TMachineChoice::chooseRomImage() {
    QFileDialog dialog(&window,
                       QStringLiteral("ROM Image for the %1").arg(QString::fromStdString(machine->title)));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("ROM images (*.bin *.rom)"), QStringLiteral("All files (*)")});
    if (!romPath.isEmpty())
        dialog.selectFile(romPath);
    else if (!document.isEmpty())
        dialog.setDirectory(QFileInfo(document).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    if (Choose(*machine, dialog.selectedFiles().constFirst()))
        remember();
}

// The console without a ROM image is what a file has unless told otherwise.
void TMachineChoice::remember() {
    const bool usual = machine == &consoleMachine() && romPath.isEmpty();
    rememberForFile(settings, machineKept, document,
                    usual ? QString() : QString::fromStdString(machine->name));
    rememberForFile(settings, romKept, document, romPath);
    const std::optional<unsigned> kib = memoryOf(*machine);
    rememberForFile(settings, memoryKept, document, kib ? QString::number(*kib) : QString());
}

void TMachineChoice::showChoice() {
    const std::optional<unsigned> kib = memoryOf(*machine);
    QString text = QString::fromStdString(machine->title);
    if (kib)
        text += QStringLiteral(", %1 KiB").arg(*kib);
    if (!romPath.isEmpty())
        text += QStringLiteral(", ROM ") + QFileInfo(romPath).fileName();
    panel->setText(text);
    panel->setToolTip(QString::fromStdString(machine->summary) +
                      (romPath.isEmpty() ? QString() : QStringLiteral("\nROM image: ") + romPath));
    for (qsizetype i = 0; i < machineItems.size(); ++i)
        machineItems[i]->setChecked(allMachines()[static_cast<std::size_t>(i)]->name == machine->name);
    if (!RomImage1)
        return; // the menu is not built yet
    RomImage1->setEnabled(machine->romWindow.has_value());
    NoRomImage1->setEnabled(!romPath.isEmpty());
    Memory1->setEnabled(kib.has_value());
    for (qsizetype i = 0; i < memoryItems.size(); ++i)
        memoryItems[i]->setChecked(kib == memorySizes[i]);
}
