<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CaptionFontCheck</name>
    <message>
        <source>No installed font has the panel&apos;s Chinese characters, so its captions show as boxes (%1 characters without a font).
Install one and start the panel again; on Debian: sudo apt install fonts-wqy-zenhei</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>串口，写法与端口框相同：COM4、ttyUSB0、/dev/ttyUSB0，或串口服务器 (serial device server)：tcp://HOST:PORT、modbus-tcp://HOST:PORT（默认 COM4）。</source>
        <translation>Serial port, as typed into the port box: COM4, ttyUSB0, /dev/ttyUSB0, or a serial device server: tcp://HOST:PORT, modbus-tcp://HOST:PORT (default COM4).</translation>
    </message>
    <message>
        <source>非空的设备名或路径</source>
        <translation>a device name or path, not empty</translation>
    </message>
    <message>
        <source>波特率 (baud rate)，单位 bit/s（默认 19200）。</source>
        <translation>Baud rate in bit/s (default 19200).</translation>
    </message>
    <message>
        <source>1 至 20000000 的整数</source>
        <translation>a whole number from 1 to 20000000</translation>
    </message>
    <message>
        <source>帧格式 (framing)：8_N_2、8_E_1 或 8_O_1（默认 8_N_2）。</source>
        <translation>Framing: 8_N_2, 8_E_1 or 8_O_1 (default 8_N_2).</translation>
    </message>
    <message>
        <source>8_N_2、8_E_1、8_O_1 之一</source>
        <translation>one of 8_N_2, 8_E_1, 8_O_1</translation>
    </message>
    <message>
        <source>控制器的从站地址 (slave address)，十进制或十六进制，写法与地址框相同：16、0x10、$10（默认 1）。</source>
        <translation>Slave address of the controller, decimal or hex as in the address box: 16, 0x10, $10 (default 1).</translation>
    </message>
    <message>
        <source>1 至 247 的整数，十进制或十六进制（0x10、$10）</source>
        <translation>a whole number from 1 to 247, decimal or hex (0x10, $10)</translation>
    </message>
    <message>
        <source>启动时打开串口，如同点击“打开串口”。</source>
        <translation>Open the port at start, as a click on &quot;Open port&quot; does.</translation>
    </message>
    <message>
        <source>启动时勾选“通讯”：串口打开后即轮询 (poll) 控制器。</source>
        <translation>Tick &quot;Comm&quot; at start: poll the controller once the port is open.</translation>
    </message>
    <message>
        <source>RS-485 转换器：发送期间 RTS 有效 (RTS on)。</source>
        <translation>RS-485 adapter: RTS on while transmitting.</translation>
    </message>
    <message>
        <source>打开“通讯监视”窗口。</source>
        <translation>Show the &quot;Monitor&quot; window (communication monitor).</translation>
    </message>
    <message>
        <source>把收发的每一帧记入 FILE。</source>
        <translation>Write every frame sent and received to FILE.</translation>
    </message>
    <message>
        <source>非空的文件名</source>
        <translation>a file name, not empty</translation>
    </message>
    <message>
        <source>打开“趋势”窗口。</source>
        <translation>Show the &quot;Trend&quot; window.</translation>
    </message>
    <message>
        <source>把趋势数值记录到 FILE（CSV）。</source>
        <translation>Record the trend values to FILE (CSV).</translation>
    </message>
    <message>
        <source>打开“报警与事件”窗口。</source>
        <translation>Show the &quot;Alarms &amp; events&quot; window (alarm and event journal).</translation>
    </message>
    <message>
        <source>报警与事件的日文件存放在 DIR（默认 $XDG_STATE_HOME/lq-modbus-rtu/journal）。</source>
        <translation>Keep the journal&apos;s day files in DIR (default $XDG_STATE_HOME/lq-modbus-rtu/journal).</translation>
    </message>
    <message>
        <source>非空的文件夹名</source>
        <translation>a folder name, not empty</translation>
    </message>
    <message>
        <source>不写日志文件（窗口中仍列出报警与事件）。</source>
        <translation>Keep no journal files (the window still lists the alarms and events).</translation>
    </message>
    <message>
        <source>不开窗口：读取控制器参数，保存到 FILE。</source>
        <translation>Read the controller&apos;s parameters and save them to FILE, without a window.</translation>
    </message>
    <message>
        <source>将控制器参数与 FILE 比较：退出状态 0 相同，1 不同，2 出错。</source>
        <translation>Compare the controller&apos;s parameters with FILE: exit 0 equal, 1 different, 2 error.</translation>
    </message>
    <message>
        <source>列出把 FILE 中的参数写回所需的写入；加 --yes 则执行。</source>
        <translation>Print the writes that would put FILE&apos;s parameters back; with --yes, make them.</translation>
    </message>
    <message>
        <source>界面语言 (language)：zh（中文）或 en（英文）；默认用工具菜单中选定的语言，未选定时按区域设置 (locale)：en 区域为英文，其他为中文。</source>
        <translation>Interface language: zh (Chinese) or en (English); default the one chosen in the tools menu, else the locale&apos;s (English for an en locale, Chinese for any other).</translation>
    </message>
    <message>
        <source>zh 或 en</source>
        <translation>zh or en</translation>
    </message>
    <message>
        <source>与 --restore 同用：执行写入，并逐个回读校验。</source>
        <translation>With --restore: make the writes, read them back and check them.</translation>
    </message>
    <message>
        <source>--backup、--compare 和 --restore 一次只能用一个</source>
        <translation>--backup, --compare and --restore go one at a time</translation>
    </message>
    <message>
        <source>--yes 用于确认 --restore 的写入，只能与它同用</source>
        <translation>--yes confirms the writes of --restore and goes with it only</translation>
    </message>
    <message>
        <source>显示本帮助。</source>
        <translation>Show this help.</translation>
    </message>
    <message>
        <source>显示版本。</source>
        <translation>Show the version.</translation>
    </message>
    <message>
        <source>可用选项：%1</source>
        <translation>Accepted options: %1</translation>
    </message>
    <message>
        <source>未知选项 &apos;%1&apos;</source>
        <translation>Unknown option &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>未知选项：%1</source>
        <translation>Unknown options: %1.</translation>
    </message>
    <message>
        <source>选项 &apos;%1&apos; 缺少取值</source>
        <translation>Missing value after &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>选项 &apos;%1&apos; 不带取值</source>
        <translation>Unexpected value after &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>用法：%1 [选项]</source>
        <translation>Usage: %1 [options]</translation>
    </message>
    <message>
        <source>三相功率控制器的操作面板与 Modbus RTU 主站 (master)。
不带选项时以 COM4、19200、8_N_2、从站 1 启动，串口关闭。</source>
        <translation>Operator panel and Modbus RTU master for a three-phase power controller.
Without options it starts on COM4, 19200, 8_N_2, slave 1, port closed.</translation>
    </message>
    <message>
        <source>选项：</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>示例：</source>
        <translation>Example:</translation>
    </message>
    <message>
        <source>多余的参数 &quot;%1&quot;：面板只接受选项</source>
        <translation>unexpected argument &quot;%1&quot;: the panel takes options only</translation>
    </message>
    <message>
        <source>--%2 的取值 &quot;%1&quot; 无效，应为：%3</source>
        <translation>bad value &quot;%1&quot; for --%2: expected %3</translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <source>命令行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警出现</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警消失</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通讯中断</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通讯恢复</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口断开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写命令</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>运行状态</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>线路设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LanguageChoice</name>
    <message>
        <source>界面语言 (Language)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkLineBoxes</name>
    <message>
        <source>经串口服务器 (serial device server) 连接时不起作用：波特率和数据格式在服务器自己的串口设置里改。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterTexts</name>
    <message>
        <source>无法打开 %1：%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 不是参数文件（不是 JSON 对象）%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式名 (format) 不是 &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>版本 (version) 不是 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>缺少参数列表 (parameters)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数列表 (parameters) 为空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 项的寄存器 (register) 缺失或不是整数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 项的寄存器 %2 不是控制器参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 项（寄存器 %2）的原始值 (raw) 缺失或超限：应为 0 至 65535 的整数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 项：寄存器 %2 重复</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 被拒绝，未写入任何值：%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取失败：%1 秒内没有发出读请求（串口未打开或未勾选“通讯”）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取失败：控制器 %1 秒内无有效应答</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：%2 → %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未写</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已写入，回读一致</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未发送（串口未打开或未勾选“通讯”）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器拒绝 (exception)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重发后仍无回显 (echo)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>被另一条命令取代</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回读值不符：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 秒内无回读</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已写入 %1 个：%2；原本相同 %3 个</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>、</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>；失败：%1，恢复已停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>；已取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortLostNotice</name>
    <message>
        <source>连接已断开 (connection lost)：%1
串口服务器关闭了连接，或者约 10 秒没有应答。检查网络和设备后点击“打开串口”重新连接。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrafficTableModel</name>
    <message>
        <source>时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>方向</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>含义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应答用时</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至帧尾</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字节</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::AlarmTableModel</name>
    <message>
        <source>报警中，未确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警中，已确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已恢复，未确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正常</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>状态</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>寄存器.位</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::ConfirmRestoreDialog</name>
    <message>
        <source>确认恢复参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>将逐个写入以下 %1 个寄存器（控制器的值 → 文件的值），每次写入后回读核对：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写入</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::ControllerSearchPage</name>
    <message>
        <source>约 %1 ms 应答</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1，慢 (slow)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 约 %2 ms 才应答，晚于每次试的等待：是控制器应答慢，不是波特率或校验不对。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>轮询继续。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“通讯”未勾选，不轮询 (polling off)。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应答 (answer)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用时 %1 s；串口已恢复原设置，%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器搜索</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::JournalTableModel</name>
    <message>
        <source>时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>类别</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>结果</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内容</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::JournalTool</name>
    <message>
        <source>报警与事件…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备已断开 (hangup)：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输入框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日志文件夹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>趋势 CSV：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通讯记录 (traffic log)：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> — 未确认报警 %1 (ALARM)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不保存日志文件 (--no-journal)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日志文件夹：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日志文件无法写入：%1（%2）。报警与事件照常记录在本窗口中，次日或选择其他文件夹后恢复写入。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 bit/s %3 地址 %4</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::JournalWindow</name>
    <message>
        <source>报警与事件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前报警</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认 (ACK)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>历史</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部类别</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按文字筛选</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>类别：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择文件夹…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::LinkStatisticsView</name>
    <message>
        <source>丢弃的 MBAP 应答 (dropped)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::ParametersTool</name>
    <message>
        <source>保存参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开参数文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器参数</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::ParametersWindow</name>
    <message>
        <source>控制器参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取控制器的参数，或打开参数文件与控制器比较</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开并比较…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存时写入文件的说明，如炉号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>寄存器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标签 (label)：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在读取控制器的参数…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器与文件一致</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器与文件有 %1 处不同（已标出）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已读取控制器的参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已保存到 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器与文件一致，无需写入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未写入任何值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在恢复：%1 / %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件：未打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>，标签 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件：%1（保存于 %2%3）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::TForm1</name>
    <message>
        <source>空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入数值 (empty)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>负值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不能为负 (not negative)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>非整数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>只接受整数 (whole numbers only)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未勾选</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通讯未勾选，未发送</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从站地址无效，未发送</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::TiEditCustom</name>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lq::TrafficTableModel</name>
    <message>
        <source>收到的帧：帧完整收到（帧尾静默结束）的时刻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应答用时 (answer time)：从请求发出到应答的第一个字节</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至帧尾：从请求发出到帧完整收到，含判定帧结束的静默时间</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
