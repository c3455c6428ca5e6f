#pragma once

#include <thread>

// Does on a second thread, while the main thread builds the window, the two
// pieces of a start that need nothing of the window: reading the system's
// font configuration into the toolkit's font database (the largest single
// piece of a start), and loading the image-format plugins, which the
// toolkit's menu bar and tool bars load to read their overflow buttons'
// pictures. The main thread reads the editor's parser meanwhile; the
// editor's first font measurement then waits only for what is left of the
// reading. The toolkit guards its font database and its plugin loader with
// locks of its own, so a start without this does the same work in the same
// way, one piece after the other.
class TStartWarmUp {
public:
    // Needs the application object; ends (joins the thread) before it does.
    TStartWarmUp();
    ~TStartWarmUp();
    TStartWarmUp(const TStartWarmUp&) = delete;
    TStartWarmUp& operator=(const TStartWarmUp&) = delete;

private:
    std::thread m_thread;
};
