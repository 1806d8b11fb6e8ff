#pragma once

#include "TestDownloads.h"

struct TestApp;

// One download of the application's queue, running until the helper goes: its yt-dlp is a
// stand-in that holds on.
class HeldDownload
{
public:
    explicit HeldDownload(TestApp &test);
    ~HeldDownload();
    HeldDownload(const HeldDownload &) = delete;
    HeldDownload &operator=(const HeldDownload &) = delete;

    // True once the download counts as active.
    [[nodiscard]] bool start();

private:
    TestApp &m_test;
    FakeYtdlp m_fake;
};
