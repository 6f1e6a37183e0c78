// lecdl-demo-site: the video site, its file host and the maker's servers on
// loopback, for the demo and the tests.
#include <csignal>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string_view>

#include "catalog.h"
#include "faults.h"
#include "site_server.h"

namespace {

constexpr const char* kUsage =
    "usage: lecdl-demo-site [--port N] [--latency-ms N] [--announce-version N] [--mandatory]\n"
    "                       [--fault FAULT@PLAYID]...\n"
    "  --port N        port on 127.0.0.1 (default 8765; 0 picks a free port)\n"
    "  --latency-ms N  delay every answer by N milliseconds (default 0)\n"
    "  --fault KIND[:ARG][,times=N]@PLAYID\n"
    "                  make GETs of a video file misbehave; PLAYID like 400050557_2, or *\n"
    "                  for every file; repeatable. times=N: only the first N GETs of each\n"
    "                  file, then it is served normally. KIND:\n"
    "                    cut[:BYTES]       full Content-Length, BYTES of the body (default half,\n"
    "                                      negative: all but that many), then close\n"
    "                    stall[:BYTES][,secs=S]  BYTES (default 0), then silence for S seconds\n"
    "                                      (default 60) or until the server stops, then close\n"
    "                    status[:CODE][,retry=S]  CODE 400-599 (default 404); Retry-After: S\n"
    "                    chunked           no Content-Length, chunked; Range still honoured\n"
    "                    ignore-range      a Range request gets 200 and the whole file\n"
    "                    grow[:BYTES]      each affected GET leaves the file BYTES longer\n"
    "                                      (default 4096; negative shrinks)\n"
    "                    slow[:RATE]       at most RATE bytes a second (default 16384)\n"
    "  --announce-version N\n"
    "                  newest version of the update source (default 190, the program's own)\n"
    "  --mandatory     the announced update may not be skipped\n"
    "  --help          show this text\n";

std::optional<int> ParseInt(std::string_view s, int max) {
  int v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < 0 || v > max) {
    return std::nullopt;
  }
  return v;
}

// Fills options from argv; returns an exit status when the program should end.
std::optional<int> ParseArgs(int argc, char** argv, demo::SiteOptions& options) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    std::string_view value;
    if (arg == "--fault" || arg.substr(0, 8) == "--fault=") {
      if (arg == "--fault" && i + 1 >= argc) {
        std::cerr << "--fault needs a value\n";
        return 2;
      }
      value = arg == "--fault" ? std::string_view(argv[++i]) : arg.substr(8);
      std::string error;
      auto rule = demo::ParseFaultRule(value, &error);
      if (rule && rule->target != "*" && demo::FindEpisode(rule->target).series == nullptr) {
        error = "no video file with play id " + rule->target;
        rule.reset();
      }
      if (!rule) {
        std::cerr << "bad --fault " << value << ": " << error << "\n";
        return 2;
      }
      options.faults.push_back(*rule);
      continue;
    }
    if (arg == "--mandatory") {
      options.update_mandatory = true;
      continue;
    }
    if (arg == "--announce-version" || arg.substr(0, 19) == "--announce-version=") {
      if (arg == "--announce-version" && i + 1 >= argc) {
        std::cerr << "--announce-version needs a value\n";
        return 2;
      }
      value = arg == "--announce-version" ? std::string_view(argv[++i]) : arg.substr(19);
      if (!ParseInt(value, 999'999)) {
        std::cerr << "bad value for --announce-version: " << value << "\n";
        return 2;
      }
      options.announce_version = std::string(value);
      continue;
    }
    bool is_port = arg == "--port" || arg.substr(0, 7) == "--port=";
    bool is_latency = arg == "--latency-ms" || arg.substr(0, 13) == "--latency-ms=";
    if (!is_port && !is_latency) {
      std::cerr << "unknown argument: " << arg << "\n" << kUsage;
      return 2;
    }
    auto eq = arg.find('=');
    if (eq != std::string_view::npos) {
      value = arg.substr(eq + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      std::cerr << arg << " needs a value\n";
      return 2;
    }
    auto n = ParseInt(value, is_port ? 65535 : 3600 * 1000);
    if (!n) {
      std::cerr << "bad value for " << arg.substr(0, eq) << ": " << value << "\n";
      return 2;
    }
    (is_port ? options.port : options.latency_ms) = *n;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  demo::SiteOptions options;
  if (auto status = ParseArgs(argc, argv, options)) return *status;

  // Block the stop signals before any thread starts, then wait for them here:
  // the server is stopped from an ordinary thread, not a signal handler.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  try {
    demo::SiteServer server(options);
    std::cout << "listening on " << server.HostPort() << std::endl;
    int signal = 0;
    sigwait(&stop_signals, &signal);
    server.Stop();
  } catch (const std::exception& e) {
    std::cerr << "lecdl-demo-site: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
