#pragma once

#include <functional>
#include <thread>

#include "menu/picture_reader.h"
#include "services/file_system.h"
#include "startup/startup.h"

namespace ambrevo {

// Decodes the pictures of the menu the player shows first on a thread of its own, from
// the program's first moment, while COM, the window and the rest of start-up are made.
// It reads the package on its own and says nothing: the menu load still reads and checks
// every record and reports what is wrong, taking from here only the pictures of streams
// decoded whole.
class PicturePrefetch {
public:
    // Starts at once; inputs is asked on the thread. Does nothing when the system gives no
    // thread.
    PicturePrefetch(FileSystem& files, std::function<StartupInputs()> inputs);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Waits until the reading has ended and offers what it decoded to reuse's next load.
    void HandTo(PictureReuse& reuse);

private:
    void Read(FileSystem& files, const std::function<StartupInputs()>& inputs);

    PictureReuse decoded_;  // written by the thread until it is joined
    std::thread thread_;
};

}  // namespace ambrevo
