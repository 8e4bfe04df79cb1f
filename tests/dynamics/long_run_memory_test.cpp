// A long run keeps its memory flat: the demo's swarm (a curveField and a shadingField on 300 particles,
// the sampler called every frame) played for 1,000 frames peaks within 10% of the same scene played for
// 100 frames. Each run is a separate mayahost-run process, measured by its peak resident set size.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string swarmScene(int frames) {
    std::ostringstream s;
    s << "loadPlugin \"" << VEXMORA_DYNAMICS_PLUGIN << "\";\n"
      << "curve -d 3 -n guide -p 0 0 0 -p 8 6 0 -p 16 -6 4 -p 24 6 -4 -p 32 -6 0 -p 40 0 0;\n"
      << "particle -n swarm";
    unsigned seed = 7;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) % 4000) / 1000.0 - 2.0;
    };
    for (int i = 0; i < 300; ++i)
        s << " -p " << next() << " " << next() << " " << next();
    s << ";\n"
      << "createNode curveField -n flow; connectAttr guide.worldSpace[0] flow.inputCurve;\n"
      << "connectDynamic -f flow swarm;\n"
      << "setAttr flow.speed 25; setAttr flow.attraction 300; setAttr flow.offset 1.5; setAttr flow.rotation 40;\n"
      << "addAttr -ln curveU -dt doubleArray swarm; setAttr swarm.curveU -type doubleArray 0;\n"
      << "setAttr flow.uValue -type \"string\" \"curveU\";\n"
      << "addAttr -ln rgbPP -dt vectorArray swarm; setAttr swarm.rgbPP -type vectorArray 0;\n"
      << "createNode shadingField -n paint; connectDynamic -f paint swarm;\n"
      << "setAttr paint.uCoord -type \"string\" \"curveU\";\n"
      << "shadingNode -asTexture ramp -n palette; setAttr palette.type 1;\n"
      << "connectAttr palette.outColor paint.map[0]; setAttr paint.to[0] -type \"string\" \"rgbPP\";\n"
      << "playFrames -every 50 1 " << frames << " \"particleStats -color rgbPP swarm guide\";\n";
    return s.str();
}

// Peak resident set size of one run of the scene, in kilobytes; -1 when the run fails.
long peakKilobytes(int frames) {
    char name[] = "/tmp/long_run_XXXXXX";
    int fd = ::mkstemp(name);
    if (fd < 0)
        return -1;
    ::close(fd);
    std::ofstream(name) << swarmScene(frames);
    pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        // Under AddressSanitizer freed memory waits in a quarantine that grows with every allocation;
        // without it the resident set shows what the host itself keeps.
        ::setenv("ASAN_OPTIONS", "quarantine_size_mb=0:detect_leaks=0", 1);
        ::execl(VEXMORA_HOST_RUN, VEXMORA_HOST_RUN, name, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    std::remove(name);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

TEST(LongRun, ThousandFramesPeakWithinTenPercentOfAHundred) {
    long hundred = peakKilobytes(100);
    long thousand = peakKilobytes(1000);
    ASSERT_GT(hundred, 0);
    ASSERT_GT(thousand, 0);
    std::printf("peak resident set: 100 frames %ld kB, 1000 frames %ld kB\n", hundred, thousand);
    EXPECT_LE(static_cast<double>(thousand), 1.1 * static_cast<double>(hundred));
}

}  // namespace
