#pragma once
// The export template "Normal.htm": its built-in default, where its five
// placeholders sit, and how one template line becomes an output line.
// Lines are Windows-1251 bytes.
#include "core/Failure.h"

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// In order of precedence: on a line holding several, only the first is replaced.
enum class Placeholder { From, Date, Size, Index, Sms };
inline constexpr std::size_t PlaceholderCount = 5;
std::string_view placeholderText(Placeholder placeholder);

// Where a placeholder is replaced: a template line (from 0) and the character
// position in it (from 1).
struct PlaceholderSpot {
    int line = 0;
    int position = 1;
    bool operator==(const PlaceholderSpot&) const = default;
};
using PlaceholderSpots = std::array<std::optional<PlaceholderSpot>, PlaceholderCount>;

// The values of one list row, indexed by Placeholder.
using PlaceholderValues = std::array<std::string, PlaceholderCount>;

const std::vector<std::string>& defaultTemplate();

// "Normal.htm" in `workDir`, in whatever letter case the file there has.
QString templatePath(const QString& workDir);

// Writes the default template when the directory has none; an existing file,
// even an empty one, is the user's and stays as it is.
MaybeFailure ensureDefaultTemplate(const QString& workDir);

struct TemplateRead {
    bool exists = false;
    std::vector<std::string> lines;
    MaybeFailure failure;
};
TemplateRead readTemplate(const QString& workDir);
MaybeFailure writeTemplate(const QString& workDir, const std::vector<std::string>& lines);

// Each placeholder is replaced once per message block: on the last line that
// holds it, at its first occurrence in that line.
PlaceholderSpots scanTemplate(const std::vector<std::string>& lines);

// The placeholder replaced on each template line, worked out once per export
// rather than once per line of every message.
class TemplateFill {
  public:
    TemplateFill(const std::vector<std::string>& lines, const PlaceholderSpots& spots);

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    // Appends template line n filled with `values` to `out`; other placeholders
    // on the line and later occurrences of the same one stay as literal text.
    void appendLine(int n, const PlaceholderValues& values, std::string& out) const;
    std::string line(int n, const PlaceholderValues& values) const;

  private:
    struct Slot {
        std::optional<Placeholder> placeholder;
        std::size_t offset = 0;
    };
    const std::vector<std::string>& m_lines;
    std::vector<Slot> m_slots;
};

} // namespace qb
