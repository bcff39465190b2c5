// Saves an alert through the real store, for the fault tests.
//   saver A|B|AB COUNT [FSIZE]
// A or B saves that alert COUNT times (0: until killed); AB alternates them. One byte "r" on
// standard output says the saving has begun; at the end a line "saved N failed M". FSIZE
// limits the size of any file the process writes (a full medium), with SIGXFSZ ignored so the
// write fails instead of killing the process.

#include "alerts.h"
#include "platform/linux/store.h"

#include <QCoreApplication>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: saver A|B|AB COUNT [FSIZE]\n");
        return 2;
    }
    if (argc > 3) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
        const rlimit r{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &r) != 0) {
            return 3;
        }
    }
    QCoreApplication app(argc, argv);
    const QByteArray which(argv[1]);
    const long count = std::strtol(argv[2], nullptr, 10);
    LinuxStore store;
    const SettingsStore::Values a = savedAlert(which == "B" ? 'B' : 'A');
    const SettingsStore::Values b = savedAlert(which == "A" ? 'A' : 'B');
    if (::write(STDOUT_FILENO, "r", 1) != 1) {
        return 4;
    }
    long saved = 0;
    long failed = 0;
    for (long i = 0; count == 0 || i < count; ++i) {
        if (store.write(i % 2 == 0 ? a : b)) {
            ++saved;
        } else {
            ++failed;
        }
    }
    std::printf("saved %ld failed %ld\n", saved, failed);
    return 0;
}
