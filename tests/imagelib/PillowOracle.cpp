#include "PillowOracle.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "OracleProcess.h"
#include "support/TempDir.h"

namespace imagetest {

std::vector<OraclePicture> PillowDecodeAll(const std::vector<std::string>& paths, const std::string& mode,
                                           PillowFrame frame) {
  testsupport::TempDir dir;
  std::string list;
  for (const std::string& p : paths) list += p + "\n";
  const std::string listFile = dir.write("list.txt", list);
  const std::string script =
      dir.write("oracle.py",
                "import sys\n"
                "from PIL import Image\n"
                "paths = open(sys.argv[1]).read().splitlines()\n"
                "for i, p in enumerate(paths):\n"
                "    out = '%s/%d' % (sys.argv[2], i)\n"
                "    try:\n"
                "        im = Image.open(p)\n"
                "        im.seek(getattr(im, 'n_frames', 1) - 1 if sys.argv[4] == 'last' else 0)\n"
                "        im.load(); im = im.convert(sys.argv[3])\n"
                "        with open(out + '.raw', 'wb') as f:\n"
                "            f.write(b'%d %d\\n' % im.size); f.write(im.tobytes())\n"
                "    except Exception as e:\n"
                "        open(out + '.err', 'w').write(str(e) or 'error')\n");
  const std::string cmd = std::string(kDebianPython) + " " + ShellQuote(script) + " " + ShellQuote(listFile) +
                          " " + ShellQuote(dir.path()) + " " + mode + " " +
                          (frame == PillowFrame::Last ? "last" : "first") + " 2>/dev/null";
  const int rc = system(cmd.c_str());
  const size_t channels = mode == "RGBA" ? 4 : 3;
  std::vector<OraclePicture> out(paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    OraclePicture& pic = out[i];
    const std::string base = dir.path() + "/" + std::to_string(i);
    std::ifstream in(base + ".raw", std::ios::binary);
    if (!in) {
      std::ifstream e(base + ".err");
      std::getline(e, pic.error);
      if (pic.error.empty())
        pic.error = rc == 0 ? "no output" : "python3 with Pillow did not run (python3-pil from tools/setup)";
      continue;
    }
    std::string line;
    std::getline(in, line);
    std::istringstream(line) >> pic.width >> pic.height;
    pic.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    pic.ok = pic.rgb.size() == static_cast<size_t>(pic.width) * pic.height * channels;
    if (!pic.ok) pic.error = "short pixel data from the oracle";
  }
  return out;
}

OraclePicture PillowDecode(const std::string& path) { return PillowDecodeAll({path}).front(); }

bool PillowEncode(const std::string& path, const std::string& format, int width, int height,
                  const std::vector<uint8_t>& rgb) {
  testsupport::TempDir dir;
  const std::string raw = dir.file("in.raw");
  {
    std::ofstream f(raw, std::ios::binary);
    f.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  }
  const std::string script = dir.write("oracle.py",
                                       "import sys\n"
                                       "from PIL import Image\n"
                                       "w, h = int(sys.argv[3]), int(sys.argv[4])\n"
                                       "im = Image.frombytes('RGB', (w, h), open(sys.argv[1], 'rb').read())\n"
                                       "im.save(sys.argv[2], sys.argv[5])\n");
  const std::string cmd = std::string(kDebianPython) + " " + ShellQuote(script) + " " + ShellQuote(raw) +
                          " " + ShellQuote(path) + " " + std::to_string(width) + " " +
                          std::to_string(height) + " " + format + " 2>/dev/null";
  return system(cmd.c_str()) == 0;
}

}  // namespace imagetest
