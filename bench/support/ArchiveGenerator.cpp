#include "ArchiveGenerator.h"

#include "archive/RecordLines.h"
#include "core/Cp1251.h"
#include "core/FileStore.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace qb::bench {
namespace {

std::vector<std::string> cp1251Words(const char* utf8) {
    std::vector<std::string> words;
    for (const QString& word : QString::fromUtf8(utf8).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words.push_back(cp1251::fromUnicode(word));
    return words;
}

const char* const RussianWords =
    "привет как дела где ты буду через минут позвони мне пожалуйста завтра сегодня "
    "вечером утром встреча дома работа купи хлеба молока спасибо хорошо ладно жду "
    "опаздываю пробки на дороге с днём рождения поздравляю целую обнимаю скоро буду "
    "ваш баланс составляет руб пополните счёт код подтверждения никому не сообщайте "
    "ёлка № 5 встречаемся у метро в кино билеты уже есть!";
const char* const LatinWords =
    "hi ok see you at the office call me later meeting moved to pm thanks "
    "your code is balance top up SMS info Motorola RAZR V3 love you good night";
const char* const FirstNames =
    "Аня Борис Вера Глеб Дарья Егор Женя Зоя Иван Катя Лёша Маша Никита Оля Павел "
    "Рита Сергей Таня Юра Яна Мама Папа Бабушка Работа Такси";
const char* const Surnames =
    "Иванов Петрова Смирнов Кузнецова Попов Соколова Лебедев Козлова Новиков Морозова";

std::string digits(std::mt19937& rng, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += static_cast<char>('0' + rng() % 10);
    return out;
}

// The phone's listing line; the read keeps the blank after the colon in the
// index of sent and unsent messages only.
std::string header(const std::string& index, const std::string& status, const std::string& number) {
    return "+MMGL: " + index + ", \"" + status + "\", \"" + number + "\"";
}

} // namespace

ArchiveGenerator::ArchiveGenerator(GeneratorOptions options)
    : m_options(options), m_rng(options.seed), m_russianWords(cp1251Words(RussianWords)),
      m_latinWords(cp1251Words(LatinWords)) {
    const auto first = cp1251Words(FirstNames);
    const auto last = cp1251Words(Surnames);
    for (const auto& f : first) {
        m_names.push_back(f);
        for (const auto& l : last)
            m_names.push_back(f + " " + l);
    }
    m_names.push_back(cp1251::fromUnicode(QString::fromUtf8("Без имени")));
    for (int i = 0; i < m_options.correspondents; ++i)
        m_correspondents.push_back("+79" + digits(m_rng, 9));
}

int ArchiveGenerator::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_rng);
}

std::string ArchiveGenerator::text() {
    const auto length = static_cast<std::size_t>(uniform(1, 160));
    const auto& words = uniform(0, 3) == 0 ? m_latinWords : m_russianWords;
    std::string out;
    while (out.size() < length) {
        if (!out.empty())
            out += ' ';
        out += words[static_cast<std::size_t>(uniform(0, static_cast<int>(words.size()) - 1))];
    }
    out.resize(length);
    return out;
}

MessageTime ArchiveGenerator::time() {
    MessageTime time;
    time.day = static_cast<std::int8_t>(uniform(1, 28));
    time.month = static_cast<std::int8_t>(uniform(1, 12));
    time.year = static_cast<std::int16_t>(uniform(2004, 2009));
    time.hour = static_cast<std::int8_t>(uniform(0, 23));
    time.minute = static_cast<std::int8_t>(uniform(0, 59));
    time.second = static_cast<std::int8_t>(uniform(0, 59));
    return time;
}

std::string ArchiveGenerator::someNumber() {
    if (uniform(0, 9) == 0)
        return "+7" + digits(m_rng, 10); // a stranger
    if (uniform(0, 19) == 0)
        return digits(m_rng, 4); // a short service number
    return m_correspondents[static_cast<std::size_t>(uniform(0, m_options.correspondents - 1))];
}

std::vector<Message> ArchiveGenerator::messages(FolderKind kind, int count, int firstIndex) {
    std::vector<Message> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string index = std::to_string(firstIndex + i);
        MessageStatus status =
            kind == FolderKind::Outbox ? MessageStatus::Sent : MessageStatus::Unsent;
        std::optional<MessageTime> received;
        if (kind == FolderKind::Inbox) {
            status = uniform(0, 9) == 0 ? MessageStatus::Unread : MessageStatus::Read;
            received = time();
        }
        const std::string listing =
            header(index, std::string(record::statusWord(status)), someNumber());
        Message message = record::listed(kind, status, listing, " " + index, text());
        message.time = received;
        out.push_back(std::move(message));
    }
    return out;
}

Phonebook ArchiveGenerator::phonebook() {
    Phonebook book;
    const int size = m_options.phonebookEntries;
    for (int i = 0; i < size; ++i) {
        std::string number;
        if (i < m_options.correspondents && uniform(0, 9) != 0) {
            const std::string& known = m_correspondents[static_cast<std::size_t>(i)];
            const std::string tenDigits = known.substr(2);
            const int spelling = uniform(0, 2);
            number = spelling == 0 ? known : spelling == 1 ? "8" + tenDigits : tenDigits;
        } else {
            number = "+7" + digits(m_rng, 10);
        }
        const auto& name =
            m_names[static_cast<std::size_t>(uniform(0, static_cast<int>(m_names.size()) - 1))];
        book.entries.push_back({number, name});
    }
    // Shuffled so the known numbers are spread over the whole phonebook.
    std::shuffle(book.entries.begin(), book.entries.end(), m_rng);
    return book;
}

std::string folderContent(FolderKind /*kind*/, const std::vector<Message>& messages) {
    std::string out;
    for (const Message& message : messages)
        record::appendRecord(out, view(message));
    return out;
}

GeneratedArchive writeArchive(const QString& dir, int inbox, int outbox, int draft,
                              GeneratorOptions options) {
    ArchiveGenerator generator(options);
    GeneratedArchive archive{generator.messages(FolderKind::Inbox, inbox),
                             generator.messages(FolderKind::Outbox, outbox),
                             generator.messages(FolderKind::Draft, draft), generator.phonebook()};
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        const auto& messages = kind == FolderKind::Inbox    ? archive.inbox
                               : kind == FolderKind::Outbox ? archive.outbox
                                                            : archive.draft;
        if (writeWholeFile(joinPath(dir, folderFileName(kind)), folderContent(kind, messages)))
            throw std::runtime_error("cannot write the generated archive");
    }
    if (savePhonebook(dir, archive.phonebook))
        throw std::runtime_error("cannot write the generated phonebook");
    return archive;
}

ReadResult readResultWithArchived(ArchiveGenerator& generator, FolderKind kind,
                                  const std::vector<Message>& archived, int count,
                                  double archivedShare) {
    const int known = std::min(static_cast<int>(std::lround(count * archivedShare)),
                               static_cast<int>(archived.size()));
    ReadResult read;
    ReadFolder& folder = read.folder(kind);
    folder.assign(archived.end() - known, archived.end());
    const auto fresh =
        generator.messages(kind, count - known, static_cast<int>(archived.size()) + 1);
    folder.insert(folder.end(), fresh.begin(), fresh.end());
    return read;
}

} // namespace qb::bench
