<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>ArchiveDeletion</name>
    <message>
        <source>Сообщения в архиве изменились, ничего не удалено. Выберите сообщения заново.</source>
        <translation>The messages in the archive have changed, so nothing was deleted. Please select the messages again.</translation>
    </message>
</context>
<context>
    <name>ArchiveLock</name>
    <message>
        <source>Архив в папке &quot;%1&quot; меняет другая копия Quillbox. Ничего не изменено; повторите команду, когда она закончит.</source>
        <translation>Another copy of Quillbox is changing the archive in the folder &quot;%1&quot;. Nothing was changed; try the command again once it has finished.</translation>
    </message>
</context>
<context>
    <name>ArchiveMessages</name>
    <message numerus="yes">
        <source>Импортировано сообщений: %n.</source>
        <translation>
            <numerusform>%n message imported.</numerusform>
            <numerusform>%n messages imported.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено строк без двух разделителей &quot;;&quot;: %n.</source>
        <translation>
            <numerusform>%n line without two &quot;;&quot; separators was left out.</numerusform>
            <numerusform>%n lines without two &quot;;&quot; separators were left out.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено строк без отправителя: %n.</source>
        <translation>
            <numerusform>%n line without a sender was left out.</numerusform>
            <numerusform>%n lines without a sender were left out.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено строк без текста: %n.</source>
        <translation>
            <numerusform>%n line without text was left out.</numerusform>
            <numerusform>%n lines without text were left out.</numerusform>
        </translation>
    </message>
    <message>
        <source>В архиве нет файлов сообщений.</source>
        <translation>The archive holds no message files.</translation>
    </message>
    <message>
        <source>Не удалён %1: %2.</source>
        <translation>%1 was not deleted: %2.</translation>
    </message>
    <message>
        <source>Перемещены в корзину: %1.</source>
        <translation>Moved to the trash: %1.</translation>
    </message>
    <message>
        <source>Корзины нет, удалены: %1.</source>
        <translation>There is no trash; deleted: %1.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>текущая папка недоступна: %1</source>
        <translation>the current directory cannot be accessed: %1</translation>
    </message>
    <message>
        <source>папка &quot;%1&quot; не найдена</source>
        <translation>directory &quot;%1&quot; not found</translation>
    </message>
    <message>
        <source>итог не выведен: %1</source>
        <translation>the summary could not be printed: %1</translation>
    </message>
    <message>
        <source>Архив SMS и телефонной книги телефонов Motorola.
Без параметров открывает окно программы; архив находится в текущей папке.</source>
        <translation>Archive of the SMS and the phonebook of Motorola phones.
Without options it opens the program&apos;s window; the archive is kept in the current directory.</translation>
    </message>
    <message>
        <source>Записать архив текущей папки в ПАПКА/sms-backup.xml (SMS Backup &amp; Restore для Android) и ПАПКА/contacts.vcf (vCard), не открывая окно.</source>
        <translation>Write the current directory&apos;s archive to FOLDER/sms-backup.xml (SMS Backup &amp; Restore for Android) and FOLDER/contacts.vcf (vCard) without opening the window.</translation>
    </message>
    <message>
        <source>ПАПКА</source>
        <translation>FOLDER</translation>
    </message>
    <message>
        <source>Даты отправленных и неотправленных сообщений, которых нет в архиве, для --export-android: estimate (оценить по соседним принятым сообщениям, по умолчанию), epoch (1 января 1970) или skip (не записывать такие сообщения).</source>
        <translation>How --export-android dates sent and unsent messages that have no date in the archive: estimate (from the neighbouring received messages; the default), epoch (1 January 1970) or skip (leave such messages out).</translation>
    </message>
    <message>
        <source>ВЫБОР</source>
        <translation>CHOICE</translation>
    </message>
    <message>
        <source>лишние параметры: %1</source>
        <translation>unexpected arguments: %1</translation>
    </message>
    <message>
        <source>--export-android можно задать только один раз</source>
        <translation>--export-android can be given only once</translation>
    </message>
    <message>
        <source>--export-android и --version не задаются вместе</source>
        <translation>--export-android and --version cannot be given together</translation>
    </message>
    <message>
        <source>--undated: ожидается estimate, epoch или skip, а не &quot;%1&quot;</source>
        <translation>--undated: expected estimate, epoch or skip, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; не папка</source>
        <translation>&quot;%1&quot; is not a folder</translation>
    </message>
    <message>
        <source>слишком длинный путь: &quot;%1&quot;</source>
        <translation>path too long: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>папка &quot;%1&quot; недоступна: %2</source>
        <translation>folder &quot;%1&quot; cannot be reached: %2</translation>
    </message>
    <message>
        <source>--undated задаётся только вместе с --export-android</source>
        <translation>--undated is only given together with --export-android</translation>
    </message>
    <message>
        <source>Считать телефон в архив текущей папки, как кнопка &quot;Считать&quot;, не открывая окно. Коды выхода: 0 — готово, 1 — телефон или файл не удалось прочитать или записать, 2 — неверная командная строка, 3 — телефон не найден.</source>
        <translation>Read the phone into the current directory&apos;s archive, as the &quot;Read&quot; button does, without opening the window. Exit statuses: 0 done, 1 the phone or a file could not be read or written, 2 a wrong command line, 3 no phone found.</translation>
    </message>
    <message>
        <source>Порт телефона для --read (например, /dev/ttyACM0); без него берётся единственный подключённый телефон.</source>
        <translation>The phone&apos;s port for --read (for example /dev/ttyACM0); without it the one phone plugged in is read.</translation>
    </message>
    <message>
        <source>УСТРОЙСТВО</source>
        <translation>DEVICE</translation>
    </message>
    <message>
        <source>--read и --export-android не задаются вместе</source>
        <translation>--read and --export-android cannot be given together</translation>
    </message>
    <message>
        <source>--read и --version не задаются вместе</source>
        <translation>--read and --version cannot be given together</translation>
    </message>
    <message>
        <source>--port задаётся только вместе с --read</source>
        <translation>--port is given only together with --read</translation>
    </message>
    <message>
        <source>--port можно задать только один раз</source>
        <translation>--port can be given only once</translation>
    </message>
    <message>
        <source>--port: не указано устройство</source>
        <translation>--port: no device given</translation>
    </message>
</context>
<context>
    <name>ConversationChat</name>
    <message>
        <source>Получено</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>Отправлено</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Не отправлено</source>
        <translation>Not sent</translation>
    </message>
    <message>
        <source>время неизвестно</source>
        <translation>time unknown</translation>
    </message>
    <message>
        <source>около %1</source>
        <translation>about %1</translation>
    </message>
    <message>
        <source>Переписка с %1</source>
        <translation>Conversation with %1</translation>
    </message>
</context>
<context>
    <name>FolderCaptions</name>
    <message>
        <source>Телефон</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Архив</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>Входящие</source>
        <translation>Inbox</translation>
    </message>
    <message>
        <source>Исходящие</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Черновые</source>
        <translation>Drafts</translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить все</source>
        <translation>Save All</translation>
    </message>
    <message>
        <source>Экспорт для смартфона…</source>
        <translation>Export for Smartphone…</translation>
    </message>
    <message>
        <source>Конвертировать</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Удалить сообщение</source>
        <translation>Delete Message</translation>
    </message>
    <message>
        <source>Удалить все сообщения</source>
        <translation>Delete All Messages</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Телефон</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Подключить</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Считать</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>О Программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Считывать телефон при подключении</source>
        <translation>Read the phone when plugged in</translation>
    </message>
    <message>
        <source>Печать…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>Сохранить в PDF…</source>
        <translation>Save as PDF…</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Переписка с …</source>
        <translation>Conversation with …</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Архив P2kTools (*.txt)</source>
        <translation>P2kTools archive (*.txt)</translation>
    </message>
    <message>
        <source>Экспорт для смартфона</source>
        <translation>Export for Smartphone</translation>
    </message>
    <message>
        <source>Вы действительно хотите удалить сообщения?</source>
        <translation>Are you sure you want to delete the messages?</translation>
    </message>
    <message>
        <source>Состояние: Подключен</source>
        <translation>Status: Connected</translation>
    </message>
    <message>
        <source>Состояние: Отключен</source>
        <translation>Status: Disconnected</translation>
    </message>
    <message>
        <source>Сохранить в PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>Документ PDF (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Сообщения</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>Найдено сообщений: %1</source>
        <translation>Messages found: %1</translation>
    </message>
    <message>
        <source>Сообщений в переписке: %1</source>
        <translation>Messages in the conversation: %1</translation>
    </message>
    <message>
        <source>Печать прервана</source>
        <translation>Printing stopped</translation>
    </message>
    <message>
        <source>Напечатано сообщений: %1</source>
        <translation>Messages printed: %1</translation>
    </message>
    <message>
        <source>Сохранено в PDF: %1</source>
        <translation>Saved as PDF: %1</translation>
    </message>
</context>
<context>
    <name>MessagePrint</name>
    <message>
        <source>Получено</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>Отправлено</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Не отправлено</source>
        <translation>Not sent</translation>
    </message>
    <message>
        <source>время неизвестно</source>
        <translation>time unknown</translation>
    </message>
    <message>
        <source>dd.MM.yyyy HH:mm:ss</source>
        <comment>date and time format</comment>
        <translation>yyyy-MM-dd HH:mm:ss</translation>
    </message>
    <message>
        <source>около %1</source>
        <translation>about %1</translation>
    </message>
    <message>
        <source>Страница %1 из %2</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>Не удалось построить PDF.</source>
        <translation>The PDF could not be built.</translation>
    </message>
</context>
<context>
    <name>PduErrorText</name>
    <message>
        <source>шестнадцатеричные цифры</source>
        <translation>hex digits</translation>
    </message>
    <message>
        <source>адрес сервисного центра</source>
        <translation>service centre address</translation>
    </message>
    <message>
        <source>тип сообщения</source>
        <translation>message type</translation>
    </message>
    <message>
        <source>номер отправки</source>
        <translation>message reference</translation>
    </message>
    <message>
        <source>номер телефона</source>
        <translation>phone number</translation>
    </message>
    <message>
        <source>протокол</source>
        <translation>protocol</translation>
    </message>
    <message>
        <source>кодировка</source>
        <translation>coding</translation>
    </message>
    <message>
        <source>время</source>
        <translation>time stamp</translation>
    </message>
    <message>
        <source>срок хранения</source>
        <translation>validity period</translation>
    </message>
    <message>
        <source>длина текста</source>
        <translation>text length</translation>
    </message>
    <message>
        <source>заголовок текста</source>
        <translation>text header</translation>
    </message>
    <message>
        <source>текст</source>
        <translation>text</translation>
    </message>
    <message>
        <source>статус доставки</source>
        <translation>delivery status</translation>
    </message>
    <message>
        <source>не шестнадцатеричные цифры</source>
        <translation>not hex digits</translation>
    </message>
    <message>
        <source>неизвестный тип сообщения</source>
        <translation>unknown message type</translation>
    </message>
    <message>
        <source>заголовок длиннее текста (байт %1)</source>
        <translation>header longer than the text (octet %1)</translation>
    </message>
    <message>
        <source>обрывается в поле «%1» (байт %2)</source>
        <translation>ends inside the %1 field (octet %2)</translation>
    </message>
</context>
<context>
    <name>PhoneMessages</name>
    <message>
        <source>Утройство занято!</source>
        <translation>Device busy!</translation>
    </message>
    <message>
        <source>Нет прав на доступ к телефону (%1).
Добавьте пользователя в группу dialout или установите правило udev, которое поставляется с Quillbox, и подключите телефон заново.</source>
        <translation>No permission to access the phone (%1).
Add your user to the dialout group or install the udev rule that comes with Quillbox, then plug the phone in again.</translation>
    </message>
    <message>
        <source>Телефон отключён во время чтения. Чтение прервано, архив не изменён.</source>
        <translation>The phone was disconnected while reading. Reading stopped; the archive is unchanged.</translation>
    </message>
    <message>
        <source>Телефон перестал принимать команды. Чтение прервано, архив не изменён.</source>
        <translation>The phone stopped accepting commands. Reading stopped; the archive is unchanged.</translation>
    </message>
    <message numerus="yes">
        <source>Телефон не удалил сообщений: %n. Они остались на телефоне и в списке.</source>
        <translation>
            <numerusform>The phone did not delete %n message. It is still on the phone and in the list.</numerusform>
            <numerusform>The phone did not delete %n messages. They are still on the phone and in the list.</numerusform>
        </translation>
    </message>
    <message>
        <source>неверный номер сообщения «%1»</source>
        <translation>a wrong message index “%1”</translation>
    </message>
    <message>
        <source>текст сообщения %1 — не цифры UCS2</source>
        <translation>the text of message %1 is not UCS2 digits</translation>
    </message>
    <message>
        <source>номер сообщения %1 повторяется</source>
        <translation>message index %1 occurs twice</translation>
    </message>
    <message>
        <source>в ответе заголовок другого сообщения: «%1»</source>
        <translation>the reply carries another message’s header: “%1”</translation>
    </message>
    <message>
        <source>непонятная строка «%1»</source>
        <translation>an unexpected line “%1”</translation>
    </message>
    <message>
        <source>Телефон не ответил на команду %1 за %2 с.</source>
        <translation>The phone did not answer the command %1 within %2 s.</translation>
    </message>
    <message>
        <source>Телефон начал отвечать на команду %1 и замолчал дольше чем на %2 с.</source>
        <translation>The phone began to answer the command %1, then fell silent for more than %2 s.</translation>
    </message>
    <message>
        <source>Ответ телефона на команду %1 длиннее %2 КБ и не кончается.</source>
        <translation>The phone’s answer to the command %1 is longer than %2 KB and does not end.</translation>
    </message>
    <message>
        <source>Телефон ответил на команду %1 ошибкой %2.</source>
        <translation>The phone answered the command %1 with the error %2.</translation>
    </message>
    <message>
        <source>Ответ телефона на команду %1 не подходит к ней: %2.</source>
        <translation>The phone’s answer to the command %1 does not fit it: %2.</translation>
    </message>
    <message numerus="yes">
        <source>Не удалено сообщений: %n; они остались на телефоне и в списке.</source>
        <translation>
            <numerusform>%n message was not deleted; it stays on the phone and in the list.</numerusform>
            <numerusform>%n messages were not deleted; they stay on the phone and in the list.</numerusform>
        </translation>
    </message>
    <message>
        <source>Чтение прервано, архив не изменён.</source>
        <translation>Reading stopped; the archive is unchanged.</translation>
    </message>
    <message>
        <source>Удаление прервано.</source>
        <translation>Deleting stopped.</translation>
    </message>
    <message>
        <source>Телефон перестал принимать команды во время удаления.</source>
        <translation>The phone stopped taking commands while deleting.</translation>
    </message>
    <message>
        <source>Телефон отключён во время удаления.</source>
        <translation>The phone was disconnected while deleting.</translation>
    </message>
    <message>
        <source>На телефоне нет сообщений.</source>
        <translation>The phone holds no messages.</translation>
    </message>
</context>
<context>
    <name>PortChoice</name>
    <message>
        <source>Состояние: Нет порта</source>
        <translation>Status: No port</translation>
    </message>
    <message>
        <source>Порт %1 не найден. Подключите телефон или выберите другой порт: Телефон ▸ Порт телефона.</source>
        <translation>Port %1 was not found. Connect the phone or choose another port: Phone ▸ Phone port.</translation>
    </message>
</context>
<context>
    <name>PrintJob</name>
    <message>
        <source>Не удалось напечатать: принтер недоступен.</source>
        <translation>Could not print: the printer is not available.</translation>
    </message>
</context>
<context>
    <name>ReadCommand</name>
    <message>
        <source>телефон не найден: нет устройства %1</source>
        <translation>no phone found: there is no device %1</translation>
    </message>
    <message>
        <source>%1 — не порт телефона: --port ждёт устройство вроде /dev/ttyACM0</source>
        <translation>%1 is not a phone&apos;s port: --port takes a device such as /dev/ttyACM0</translation>
    </message>
    <message>
        <source>телефон не найден. Подключите телефон кабелем USB или укажите его порт: --port УСТРОЙСТВО</source>
        <translation>no phone found. Plug the phone in with its USB cable, or name its port: --port DEVICE</translation>
    </message>
    <message>
        <source>подключено несколько телефонов:%1
Укажите, какой считать: --port УСТРОЙСТВО</source>
        <translation>several phones are plugged in:%1
Name the one to read: --port DEVICE</translation>
    </message>
    <message>
        <source>Чтение списка сообщений…</source>
        <translation>Reading the list of messages…</translation>
    </message>
    <message>
        <source>Время получения сообщений: %1 из %2</source>
        <translation>Times the messages were received: %1 of %2</translation>
    </message>
    <message>
        <source>Чтение телефонной книги…</source>
        <translation>Reading the phonebook…</translation>
    </message>
    <message>
        <source>Запись в архив…</source>
        <translation>Writing to the archive…</translation>
    </message>
    <message>
        <source>итог не выведен: %1</source>
        <translation>the summary could not be printed: %1</translation>
    </message>
    <message>
        <source>текущая папка недоступна: %1</source>
        <translation>the current directory cannot be accessed: %1</translation>
    </message>
    <message>
        <source>Телефон %1, архив в папке %2</source>
        <translation>Phone %1, archive in the folder %2</translation>
    </message>
</context>
<context>
    <name>ReadReport</name>
    <message>
        <source>Считано с телефона: входящих %1, исходящих %2, черновых %3, контактов %4.</source>
        <translation>Read from the phone: Inbox %1, Sent %2, Drafts %3, contacts %4.</translation>
    </message>
    <message>
        <source>Новых в архиве: входящих %1, исходящих %2, черновых %3.</source>
        <translation>New in the archive: Inbox %1, Sent %2, Drafts %3.</translation>
    </message>
    <message>
        <source>Телефон считан</source>
        <translation>The phone was read</translation>
    </message>
    <message>
        <source>Телефон не считан</source>
        <translation>The phone was not read</translation>
    </message>
    <message>
        <source>Новых сообщений нет: всё, что есть на телефоне, уже в архиве.</source>
        <translation>No new messages: everything on the phone is in the archive already.</translation>
    </message>
    <message numerus="yes">
        <source>Новых сообщений в архиве: %n (входящих %1, исходящих %2, черновых %3).</source>
        <translation>
            <numerusform>%n new message in the archive (Inbox %1, Sent %2, Drafts %3).</numerusform>
            <numerusform>%n new messages in the archive (Inbox %1, Sent %2, Drafts %3).</numerusform>
        </translation>
    </message>
    <message>
        <source>Отчётов о доставке пропущено: %1 (это не сообщения).</source>
        <translation>Delivery reports left out: %1 (they are not messages).</translation>
    </message>
    <message>
        <source>Длинных сообщений без части текста: %1, недостающих частей: %2 (на их месте стоит «%3»).</source>
        <translation>Long messages with parts missing: %1, parts missing: %2 (each marked “%3”).</translation>
    </message>
    <message>
        <source>Не удалось разобрать сообщений: %1 — %2.</source>
        <translation>Messages that could not be decoded: %1 — %2.</translation>
    </message>
    <message>
        <source>Телефон не дал прочитать: %1.</source>
        <translation>The phone would not give: %1.</translation>
    </message>
</context>
<context>
    <name>SmartphoneSummary</name>
    <message>
        <source>Экспорт для смартфона: %1, %2.</source>
        <translation>Export for smartphone: %1, %2.</translation>
    </message>
    <message numerus="yes">
        <source>сообщений %n</source>
        <translation>
            <numerusform>%n message</numerusform>
            <numerusform>%n messages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>контактов %n</source>
        <translation>
            <numerusform>%n contact</numerusform>
            <numerusform>%n contacts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено недопустимых символов: %n.</source>
        <translation>
            <numerusform>%n invalid character was left out.</numerusform>
            <numerusform>%n invalid characters were left out.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Даты оценены по соседним принятым сообщениям: %n.</source>
        <translation>
            <numerusform>%n date was estimated from the neighbouring received messages.</numerusform>
            <numerusform>%n dates were estimated from the neighbouring received messages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено сообщений без даты: %n.</source>
        <translation>
            <numerusform>%n message without a date was left out.</numerusform>
            <numerusform>%n messages without a date were left out.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено сообщений без адресата: %n.</source>
        <translation>
            <numerusform>%n message without a recipient was left out.</numerusform>
            <numerusform>%n messages without a recipient were left out.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Черновиков в разговорах с несколькими черновиками: %n; Android сохранит в каждом разговоре только последний.</source>
        <translation>
            <numerusform>%n draft shares its conversation with other drafts; Android keeps only the last draft of each conversation.</numerusform>
            <numerusform>%n drafts share their conversations with other drafts; Android keeps only the last draft of each conversation.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qb::ListController</name>
    <message>
        <source>Переписка с %1</source>
        <translation>Conversation with %1</translation>
    </message>
    <message>
        <source>Найденные сообщения</source>
        <translation>Messages found</translation>
    </message>
</context>
<context>
    <name>qb::MessageListModel</name>
    <message>
        <source>Сообщение</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>От</source>
        <translation>From</translation>
    </message>
    <message>
        <source>Дата/Время</source>
        <translation>Date/Time</translation>
    </message>
    <message>
        <source>Размер</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Индекс</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Папка</source>
        <translation>Folder</translation>
    </message>
</context>
<context>
    <name>qb::ui::AboutDialog</name>
    <message>
        <source>О Программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Автор: разработчики Quillbox</source>
        <translation>Author: the Quillbox developers</translation>
    </message>
    <message>
        <source>Тестирование: пользователи Quillbox</source>
        <translation>Testing: the Quillbox users</translation>
    </message>
    <message>
        <source>E-Mail адрес: %1</source>
        <translation>E-mail: %1</translation>
    </message>
    <message>
        <source>Обсуждение программы</source>
        <translation>Discuss Quillbox</translation>
    </message>
</context>
<context>
    <name>qb::ui::ColourPicker</name>
    <message>
        <source>По умолчанию</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Другой...</source>
        <translation>Other...</translation>
    </message>
</context>
<context>
    <name>qb::ui::CommandToolbar</name>
    <message>
        <source>Подключить телефон</source>
        <translation>Connect phone</translation>
    </message>
    <message>
        <source>Считать сообщения с телефона</source>
        <translation>Read messages from phone</translation>
    </message>
    <message>
        <source>Сохранить сообщение</source>
        <translation>Save message</translation>
    </message>
    <message>
        <source>Сохранить все сообщения</source>
        <translation>Save all messages</translation>
    </message>
    <message>
        <source>Конвертировать архив P2kTools в архив Quillbox</source>
        <translation>Convert a P2kTools archive to a Quillbox archive</translation>
    </message>
    <message>
        <source>Фоновый цвет:</source>
        <translation>Background:</translation>
    </message>
    <message>
        <source>Цвет текста:</source>
        <translation>Text colour:</translation>
    </message>
    <message>
        <source>Подключить</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Считать</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Считать все сообщения с телефона</source>
        <translation>Read all messages from phone</translation>
    </message>
    <message>
        <source>Конвертировать</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Поиск по всем папкам телефона и архива (Ctrl+F)</source>
        <translation>Search every folder of the phone and the archive (Ctrl+F)</translation>
    </message>
</context>
<context>
    <name>qb::ui::ExportDialog</name>
    <message>
        <source>Документ HTML (*.htm;*.html)</source>
        <translation>HTML document (*.htm;*.html)</translation>
    </message>
    <message>
        <source>Текстовый файл (*.txt)</source>
        <translation>Text file (*.txt)</translation>
    </message>
    <message>
        <source>Сохранение сообщений</source>
        <translation>Save Messages</translation>
    </message>
    <message>
        <source>Параметры сохранения</source>
        <translation>Save options</translation>
    </message>
    <message>
        <source>Разбить на файлы по</source>
        <translation>Split into files of</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Шаблон</source>
        <translation>Template</translation>
    </message>
    <message numerus="yes">
        <source>сообщений</source>
        <translation>
            <numerusform>message</numerusform>
            <numerusform>messages</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qb::ui::MainStatusBar</name>
    <message>
        <source>Прервать</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Прервать работу с телефоном (Esc)</source>
        <translation>Stop working with the phone (Esc)</translation>
    </message>
</context>
<context>
    <name>qb::ui::PortMenu</name>
    <message>
        <source>Порт телефона</source>
        <translation>Phone port</translation>
    </message>
    <message>
        <source>Путь к порту телефона, например /dev/ttyUSB0 (модем USB с SIM-картой) или /dev/rfcomm0 (Bluetooth):</source>
        <translation>The path of the phone&apos;s port, such as /dev/ttyUSB0 (a USB modem holding a SIM card) or /dev/rfcomm0 (Bluetooth):</translation>
    </message>
    <message>
        <source>Автоматически (телефон USB)</source>
        <translation>Automatic (USB phone)</translation>
    </message>
    <message>
        <source>%1 (не найден)</source>
        <translation>%1 (not found)</translation>
    </message>
    <message>
        <source>Другой порт…</source>
        <translation>Other port…</translation>
    </message>
</context>
<context>
    <name>qb::ui::TemplateEditor</name>
    <message>
        <source>Шаблон сообщений для сохранения</source>
        <translation>Template for Saved Messages</translation>
    </message>
    <message>
        <source>Сброс</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
