#pragma once
// The small phone the end-to-end tests read, in the simulator's content form.
namespace qb::e2e {

// Four received, two sent and one unsent message, three contacts.
inline const char* const SmallPhone = R"(
[messages]
1|REC READ|+79161234567|2008/12/25,10:15:02|Привет
2|REC READ|+79032223344|2008/12/26,11:00:00|Встречаемся в 19:00
3|STO SENT|+79161234567||Позвоню вечером
4|REC READ|900|2008/12/27,09:30:45|Баланс 100 р.
5|STO UNSENT|+79032223344||Черновик
6|REC READ|+79055556677|2008/12/28,23:59:59|С Новым годом!
7|STO SENT|+79055556677||Спасибо
[phonebook]
+79161234567|Мама
+79032223344|Лена
+79055556677|Сергей
)";

} // namespace qb::e2e
