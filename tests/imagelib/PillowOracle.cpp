#include "PillowOracle.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "support/TempDir.h"

namespace imagetest {

namespace {

// Debian's interpreter, where python3-pil is installed (another python3 may come first on PATH).
constexpr const char* kPython = "/usr/bin/python3";

int RunPython(const std::string& script, const std::string& args) {
  testsupport::TempDir dir;
  const std::string file = dir.write("oracle.py", script);
  const std::string cmd = std::string(kPython) + " " + file + " " + args + " 2>/dev/null";
  return system(cmd.c_str());
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

}  // namespace

OraclePicture PillowDecode(const std::string& path) {
  OraclePicture out;
  testsupport::TempDir dir;
  const std::string raw = dir.file("pixels.raw");
  const std::string err = dir.file("error.txt");
  const char* script =
      "import sys\n"
      "try:\n"
      "    from PIL import Image\n"
      "except Exception as e:\n"
      "    open(sys.argv[3], 'w').write('no Pillow: ' + str(e)); sys.exit(2)\n"
      "try:\n"
      "    im = Image.open(sys.argv[1]); im.load(); im = im.convert('RGB')\n"
      "except Exception as e:\n"
      "    open(sys.argv[3], 'w').write(str(e)); sys.exit(1)\n"
      "with open(sys.argv[2], 'wb') as f:\n"
      "    f.write(b'%d %d\\n' % im.size); f.write(im.tobytes())\n";
  const int rc = RunPython(script, Quote(path) + " " + Quote(raw) + " " + Quote(err));
  std::ifstream e(err);
  std::getline(e, out.error);
  if (rc != 0) {
    if (out.error.empty()) out.error = "python3 did not run";
    return out;
  }
  std::ifstream in(raw, std::ios::binary);
  std::string line;
  std::getline(in, line);
  std::istringstream(line) >> out.width >> out.height;
  out.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  out.ok = out.rgb.size() == static_cast<size_t>(out.width) * out.height * 3;
  if (!out.ok) out.error = "short pixel data from the oracle";
  return out;
}

bool PillowEncode(const std::string& path, const std::string& format, int width, int height,
                  const std::vector<uint8_t>& rgb) {
  testsupport::TempDir dir;
  const std::string raw = dir.file("in.raw");
  {
    std::ofstream f(raw, std::ios::binary);
    f.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  }
  const char* script =
      "import sys\n"
      "from PIL import Image\n"
      "w, h = int(sys.argv[3]), int(sys.argv[4])\n"
      "im = Image.frombytes('RGB', (w, h), open(sys.argv[1], 'rb').read())\n"
      "im.save(sys.argv[2], sys.argv[5])\n";
  return RunPython(script, Quote(raw) + " " + Quote(path) + " " + std::to_string(width) + " " +
                               std::to_string(height) + " " + format) == 0;
}

}  // namespace imagetest
