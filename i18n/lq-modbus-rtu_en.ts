<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CaptionFontCheck</name>
    <message>
        <source>No installed font has the panel's Chinese characters, so its captions show as boxes (%1 characters without a font).
Install one and start the panel again; on Debian: sudo apt install fonts-wqy-zenhei</source>
        <translation>No installed font has the panel's Chinese characters, so its captions show as boxes (%1 characters without a font).
Install one and start the panel again; on Debian: sudo apt install fonts-wqy-zenhei</translation>
    </message>
</context>
<context>
    <name>FrameMeaning</name>
    <message>
        <source>异常 %1 %2</source>
        <translation>Exception %1 %2</translation>
    </message>
    <message>
        <source>CRC 错误 (CRC error)：校验 %1，应为 %2</source>
        <translation>CRC error: check %1, expected %2</translation>
    </message>
    <message>
        <source>读块 %1 的应答（寄存器 %2–%3）</source>
        <translation>Reply to read block %1 (registers %2–%3)</translation>
    </message>
    <message>
        <source>未请求的应答 (unsolicited reply)：从站 %1，%2</source>
        <translation>Unsolicited reply: slave %1, %2</translation>
    </message>
    <message>
        <source>未请求的应答 (unsolicited reply)：从站 %1，读应答，%2 字节</source>
        <translation>Unsolicited reply: slave %1, read reply, %2 bytes</translation>
    </message>
    <message>
        <source>未知代码 (unknown)</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>非法功能 (Illegal Function)</source>
        <translation>Illegal Function</translation>
    </message>
    <message>
        <source>非法数据地址 (Illegal Data Address)</source>
        <translation>Illegal Data Address</translation>
    </message>
    <message>
        <source>非法数据值 (Illegal Data Value)</source>
        <translation>Illegal Data Value</translation>
    </message>
    <message>
        <source>从站设备故障 (Slave Device Failure)</source>
        <translation>Slave Device Failure</translation>
    </message>
    <message>
        <source>确认 (Acknowledge)</source>
        <translation>Acknowledge</translation>
    </message>
    <message>
        <source>从站设备忙 (Slave Device Busy)</source>
        <translation>Slave Device Busy</translation>
    </message>
    <message>
        <source>否定确认 (Negative Acknowledge)</source>
        <translation>Negative Acknowledge</translation>
    </message>
    <message>
        <source>存储奇偶校验错误 (Memory Parity Error)</source>
        <translation>Memory Parity Error</translation>
    </message>
    <message>
        <source>未定义的代码 (undefined)</source>
        <translation>Undefined</translation>
    </message>
    <message>
        <source>网关路径不可用 (Gateway Path Unavailable)</source>
        <translation>Gateway Path Unavailable</translation>
    </message>
    <message>
        <source>网关目标设备无响应 (Gateway Target Device Failed to Respond)</source>
        <translation>Gateway Target Device Failed to Respond</translation>
    </message>
    <message>
        <source>请求，%1 字节</source>
        <translation>Request, %1 bytes</translation>
    </message>
    <message>
        <source>从站 %1 读块 %2（起始 %3，数量 %4）</source>
        <translation>Slave %1 read block %2 (start %3, quantity %4)</translation>
    </message>
    <message>
        <source>从站 %1 写寄存器 %2 = %3</source>
        <translation>Slave %1 write register %2 = %3</translation>
    </message>
    <message>
        <source>从站 %1 写寄存器 %2 = %3（重发）</source>
        <translation>Slave %1 write register %2 = %3 (repeat)</translation>
    </message>
    <message>
        <source>写寄存器 %1 = %2 的回显</source>
        <translation>Echo of write register %1 = %2</translation>
    </message>
    <message>
        <source>写入被拒绝：%1</source>
        <translation>Write refused: %1</translation>
    </message>
    <message>
        <source>读块 %1 被拒绝：%2</source>
        <translation>Read block %1 refused: %2</translation>
    </message>
    <message>
        <source>短帧或分段 (short or split frame)：%1 字节</source>
        <translation>Short or split frame: %1 bytes</translation>
    </message>
    <message>
        <source>过期的回显 (stray echo)：写寄存器 %1 = %2</source>
        <translation>Stray echo: write register %1 = %2</translation>
    </message>
    <message>
        <source>多帧粘连 (frames run together)：%1 字节</source>
        <translation>Frames run together: %1 bytes</translation>
    </message>
    <message>
        <source>请求前到达 (arrived before its request)：%1 字节</source>
        <translation>Arrived before its request: %1 bytes</translation>
    </message>
    <message>
        <source>同一请求的第二个应答 (second reply)：上一块可能来自迟到的应答</source>
        <translation>Second reply to one request: the last block may come from a late reply</translation>
    </message>
    <message>
        <source>无应答 (no reply)：读块 %1</source>
        <translation>No reply: read block %1</translation>
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
        <translation>Tick &quot;Poll&quot; at start: poll the controller once the port is open.</translation>
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
        <translation>Command line</translation>
    </message>
    <message>
        <source>报警出现</source>
        <translation>Alarm on</translation>
    </message>
    <message>
        <source>报警消失</source>
        <translation>Alarm off</translation>
    </message>
    <message>
        <source>报警确认</source>
        <translation>Alarm ack</translation>
    </message>
    <message>
        <source>通讯中断</source>
        <translation>Comm lost</translation>
    </message>
    <message>
        <source>通讯恢复</source>
        <translation>Comm back</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Port opened</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>Port closed</translation>
    </message>
    <message>
        <source>串口断开</source>
        <translation>Port lost</translation>
    </message>
    <message>
        <source>写命令</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>运行状态</source>
        <translation>Run state</translation>
    </message>
    <message>
        <source>线路设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>报警 %1 出现</source>
        <translation>Alarm %1 on</translation>
    </message>
    <message>
        <source>报警 %1 消失</source>
        <translation>Alarm %1 off</translation>
    </message>
    <message>
        <source>报警 %1 已确认</source>
        <translation>Alarm %1 acknowledged</translation>
    </message>
    <message>
        <source>通讯中断：%1</source>
        <translation>Comm lost: %1</translation>
    </message>
    <message>
        <source>无应答 (no reply)</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>CRC 错误</source>
        <translation>CRC error</translation>
    </message>
    <message>
        <source>异常应答 (exception) %1</source>
        <translation>Exception %1</translation>
    </message>
    <message>
        <source>应答不完整 (short reply)</source>
        <translation>Short reply</translation>
    </message>
    <message>
        <source>打开串口 %1</source>
        <translation>Port %1 opened</translation>
    </message>
    <message>
        <source>关闭串口 %1</source>
        <translation>Port %1 closed</translation>
    </message>
    <message>
        <source>串口 %1 已断开 (port lost)：%2</source>
        <translation>Port %1 lost: %2</translation>
    </message>
    <message>
        <source>写 %1 = %2（原 %3）：%4，发送 %5 次</source>
        <translation>Write %1 = %2 (was %3): %4, sends: %5</translation>
    </message>
    <message>
        <source>已确认</source>
        <translation>confirmed</translation>
    </message>
    <message>
        <source>被拒绝，异常码 %1</source>
        <translation>exception %1</translation>
    </message>
    <message>
        <source>未确认</source>
        <translation>unconfirmed</translation>
    </message>
    <message>
        <source>被新命令取代</source>
        <translation>superseded by a new command</translation>
    </message>
    <message>
        <source>未发送</source>
        <translation>not sent</translation>
    </message>
    <message>
        <source>控制器运行状态变为 %1（非本面板命令）</source>
        <translation>Controller switched to %1 (not by this panel)</translation>
    </message>
    <message>
        <source>线路设置 %1（%2）</source>
        <translation>Settings %1 (%2)</translation>
    </message>
    <message>
        <source>开始记录 %1</source>
        <translation>Recording started: %1</translation>
    </message>
    <message>
        <source>停止记录 %1</source>
        <translation>Recording stopped: %1</translation>
    </message>
</context>
<context>
    <name>LanguageChoice</name>
    <message>
        <source>界面语言 (Language)</source>
        <translation>Language (界面语言)</translation>
    </message>
</context>
<context>
    <name>LinkStatisticsText</name>
    <message>
        <source>%1 秒前</source>
        <translation>%1 s ago</translation>
    </message>
    <message>
        <source>请求</source>
        <translation>Requests</translation>
    </message>
    <message>
        <source>读请求</source>
        <translation>Reads</translation>
    </message>
    <message>
        <source>写请求（含重发）</source>
        <translation>Writes (repeats included)</translation>
    </message>
    <message>
        <source>正常应答</source>
        <translation>Good replies</translation>
    </message>
    <message>
        <source>CRC 错误 (CRC error)</source>
        <translation>CRC error</translation>
    </message>
    <message>
        <source>短帧或分段 (short/split)</source>
        <translation>Short/split</translation>
    </message>
    <message>
        <source>无应答 (no reply)</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>多余或未请求的帧</source>
        <translation>Stray or unsolicited frames</translation>
    </message>
    <message>
        <source>多帧粘连 (frames run together)</source>
        <translation>Frames run together</translation>
    </message>
    <message>
        <source>请求前到达 (before request)</source>
        <translation>Before request</translation>
    </message>
    <message>
        <source>一次请求两个应答 (second reply)</source>
        <translation>Second reply</translation>
    </message>
    <message>
        <source>异常应答 (exception)</source>
        <translation>Exception replies</translation>
    </message>
    <message>
        <source>写入已确认</source>
        <translation>Writes confirmed</translation>
    </message>
    <message>
        <source>写入被拒绝</source>
        <translation>Writes refused</translation>
    </message>
    <message>
        <source>写入未确认</source>
        <translation>Writes unconfirmed</translation>
    </message>
    <message>
        <source>写入被取代</source>
        <translation>Writes superseded</translation>
    </message>
    <message>
        <source>写入未发送 (not sent)</source>
        <translation>Writes not sent</translation>
    </message>
    <message>
        <source>上次应答用时 (answer time)</source>
        <translation>Last answer time</translation>
    </message>
    <message>
        <source>平均应答用时</source>
        <translation>Mean answer time</translation>
    </message>
    <message>
        <source>正常应答率</source>
        <translation>Good reply rate</translation>
    </message>
    <message>
        <source>上次往返</source>
        <translation>Last round trip</translation>
    </message>
    <message>
        <source>平均往返</source>
        <translation>Mean round trip</translation>
    </message>
    <message>
        <source>上次应答</source>
        <translation>Last good reply</translation>
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
        <translation>No effect through a serial device server: set the baud rate and framing in the server's own serial settings.</translation>
    </message>
</context>
<context>
    <name>NetworkOpenFailure</name>
    <message>
        <source>找不到这个主机名 (name not found)：检查拼写和本机的 DNS 设置，或者直接填 IP 地址。</source>
        <translation>Name not found: check the spelling and this computer's DNS settings, or enter the IP address.</translation>
    </message>
    <message>
        <source>主机在，但这个端口没有服务 (connection refused)：检查端口号，串口服务器是否设成 TCP 服务器 (TCP server) 模式；有的设备同时只接受一个连接，先断开别的程序。</source>
        <translation>Connection refused: the host is there but nothing serves this port. Check the port number and that the serial device server is in TCP server mode; some devices take one connection at a time, so disconnect other programs first.</translation>
    </message>
    <message>
        <source>到不了这台主机 (no route to host)：检查网线、IP 地址，以及本机和设备是否在同一网段。</source>
        <translation>No route to host: check the cable, the IP address, and that this computer and the device are on the same subnet.</translation>
    </message>
    <message>
        <source>3 秒内没有应答 (time-out)：地址不对、设备没有上电，或者防火墙丢掉了连接请求。</source>
        <translation>Time-out: no answer within 3 s. The address is wrong, the device is not powered, or a firewall dropped the connection request.</translation>
    </message>
    <message>
        <source>网络端口名应写成 tcp://主机:端口 或 modbus-tcp://主机:端口，IPv6 地址放在方括号里，例如 tcp://[fe80::1]:4001。</source>
        <translation>A network port is written tcp://HOST:PORT or modbus-tcp://HOST:PORT, an IPv6 address in brackets, for example tcp://[fe80::1]:4001.</translation>
    </message>
    <message>
        <source>系统资源不足（线程或事件）。</source>
        <translation>Out of system resources (threads or events).</translation>
    </message>
    <message>
        <source>主机 %1，端口 %2</source>
        <translation>Host %1, port %2</translation>
    </message>
</context>
<context>
    <name>OldValueMarks</name>
    <message>
        <source>已 %1 秒没有有效应答</source>
        <translation>no valid reply for %1 s</translation>
    </message>
    <message>
        <source>尚未读到</source>
        <translation>not read yet</translation>
    </message>
    <message>
        <source>旧值 (stale)：寄存器 %1–%2 %3</source>
        <translation>Stale: registers %1–%2, %3</translation>
    </message>
</context>
<context>
    <name>OpenFailureReason</name>
    <message>
        <source>串口正被其他程序占用（看不到是哪个程序）。</source>
        <translation>The port is in use by another program (which one cannot be seen).</translation>
    </message>
    <message>
        <source>串口正被其他程序占用：%1。</source>
        <translation>The port is in use by another program: %1.</translation>
    </message>
    <message>
        <source>ModemManager 会在 ttyACM 设备插上后探测它几秒钟：稍等再试，或用 udev 规则让 ModemManager 不碰这个适配器 (ID_MM_DEVICE_IGNORE)。</source>
        <translation>ModemManager probes a ttyACM device for a few seconds after it is plugged in: wait and try again, or keep ModemManager off this adapter with a udev rule (ID_MM_DEVICE_IGNORE).</translation>
    </message>
    <message>
        <source>别名 %1 不存在（%2 里没有），所以试了 %3。</source>
        <translation>There is no alias %1 (none in %2), so %3 was tried.</translation>
    </message>
    <message>
        <source>设备不存在。现有串口：%1</source>
        <translation>No such device. Serial ports present: %1</translation>
    </message>
    <message>
        <source>无（适配器插好了吗？）</source>
        <translation>none (is the adapter plugged in?)</translation>
    </message>
    <message>
        <source>（端口名为空）</source>
        <translation>(the port name is empty)</translation>
    </message>
    <message>
        <source>没有读写权限：把用户加入 dialout 组，重新登录后生效：</source>
        <translation>Permission denied: add the user to the dialout group, then log in again:</translation>
    </message>
    <message>
        <source>设备没有响应：这个 ttyS 端口后面没有 UART，或者适配器正在被拔出。</source>
        <translation>The device does not respond: there is no UART behind this ttyS port, or the adapter is being unplugged.</translation>
    </message>
    <message>
        <source>不是串口设备 (not a character device)</source>
        <translation>not a character device</translation>
    </message>
    <message>
        <source>这个设备不是终端 (tty)，不能当串口用。</source>
        <translation>This device is not a tty and cannot be used as a serial port.</translation>
    </message>
    <message>
        <source>驱动拒绝 RS-485 模式 (TIOCSRS485): %1</source>
        <translation>the driver refuses RS-485 mode (TIOCSRS485): %1</translation>
    </message>
    <message>
        <source>自动切换方向的 USB–RS-485 适配器不需要 --rs485；去掉它再打开。</source>
        <translation>A USB–RS-485 adapter that switches direction by itself needs no --rs485: leave it out and open again.</translation>
    </message>
    <message>
        <source>系统资源不足（线程或事件）。</source>
        <translation>Out of system resources (threads or events).</translation>
    </message>
</context>
<context>
    <name>ParameterTexts</name>
    <message>
        <source>无法打开 %1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1 不是参数文件（不是 JSON 对象）%2</source>
        <translation>%1 is not a parameter file (not a JSON object)%2</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>格式名 (format) 不是 "%1"</source>
        <translation>format is not "%1"</translation>
    </message>
    <message>
        <source>版本 (version) 不是 %1</source>
        <translation>version is not %1</translation>
    </message>
    <message>
        <source>缺少参数列表 (parameters)</source>
        <translation>no parameter list (parameters)</translation>
    </message>
    <message>
        <source>参数列表 (parameters) 为空</source>
        <translation>the parameter list (parameters) is empty</translation>
    </message>
    <message>
        <source>第 %1 项的寄存器 (register) 缺失或不是整数</source>
        <translation>item %1: register missing or not an integer</translation>
    </message>
    <message>
        <source>第 %1 项的寄存器 %2 不是控制器参数</source>
        <translation>item %1: register %2 is not a controller parameter</translation>
    </message>
    <message>
        <source>第 %1 项（寄存器 %2）的原始值 (raw) 缺失或超限：应为 0 至 65535 的整数</source>
        <translation>item %1 (register %2): raw missing or out of range: must be an integer from 0 to 65535</translation>
    </message>
    <message>
        <source>第 %1 项：寄存器 %2 重复</source>
        <translation>item %1: register %2 repeated</translation>
    </message>
    <message>
        <source>%1 被拒绝，未写入任何值：%2</source>
        <translation>%1 refused, nothing written: %2</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>读取失败：%1 秒内没有发出读请求（串口未打开或未勾选“通讯”）</source>
        <translation>Read failed: no read request went out within %1 s (port not open or "Poll" not ticked)</translation>
    </message>
    <message>
        <source>读取失败：控制器 %1 秒内无有效应答</source>
        <translation>Read failed: no valid reply from the controller within %1 s</translation>
    </message>
    <message>
        <source>%1：%2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>未写</source>
        <translation>not written</translation>
    </message>
    <message>
        <source>已写入，回读一致</source>
        <translation>written, read back equal</translation>
    </message>
    <message>
        <source>未发送（串口未打开或未勾选“通讯”）</source>
        <translation>not sent (port not open or "Poll" not ticked)</translation>
    </message>
    <message>
        <source>控制器拒绝 (exception)</source>
        <translation>refused by the controller (exception)</translation>
    </message>
    <message>
        <source>重发后仍无回显 (echo)</source>
        <translation>no echo after resending</translation>
    </message>
    <message>
        <source>被另一条命令取代</source>
        <translation>superseded by another command</translation>
    </message>
    <message>
        <source>回读值不符：%1</source>
        <translation>read back differs: %1</translation>
    </message>
    <message>
        <source>%1 秒内无回读</source>
        <translation>no read-back within %1 s</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>已写入 %1 个：%2；原本相同 %3 个</source>
        <translation>Written %1: %2; already equal %3</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>；失败：%1，恢复已停止</source>
        <translation>; failed: %1, restore stopped</translation>
    </message>
    <message>
        <source>；已取消</source>
        <translation>; cancelled</translation>
    </message>
</context>
<context>
    <name>PortDiscovery</name>
    <message>
        <source>→ %1 (不存在)</source>
        <translation>→ %1 (missing)</translation>
    </message>
</context>
<context>
    <name>PortLostNotice</name>
    <message>
        <source>连接已断开 (connection lost)：%1
串口服务器关闭了连接，或者约 10 秒没有应答。检查网络和设备后点击“打开串口”重新连接。</source>
        <translation>Connection lost: %1
The serial device server closed the connection, or gave no answer for about 10 s. Check the network and the device, then click "Open port" to connect again.</translation>
    </message>
    <message>
        <source>串口已断开 (port lost)：%1
插回适配器后点击“打开串口”重新打开。</source>
        <translation>Port lost: %1
Plug the adapter back in, then click "Open port" to open it again.</translation>
    </message>
</context>
<context>
    <name>Registers</name>
    <message>
        <source>输入</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>最大输出量限制</source>
        <translation>Max output limit</translation>
    </message>
    <message>
        <source>最小输出量限制</source>
        <translation>Min output limit</translation>
    </message>
    <message>
        <source>输出量</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>警报</source>
        <translation>Alarm</translation>
    </message>
</context>
<context>
    <name>TrafficLine</name>
    <message>
        <source>发</source>
        <translation>TX</translation>
    </message>
    <message>
        <source>收</source>
        <translation>RX</translation>
    </message>
</context>
<context>
    <name>TrafficLogRecording</name>
    <message>
        <source>通讯记录文件无法写入，记录已停止 (traffic log stopped)：
%1
%2</source>
        <translation>Traffic log stopped: the file cannot be written:
%1
%2</translation>
    </message>
</context>
<context>
    <name>TrafficTableModel</name>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Dir</translation>
    </message>
    <message>
        <source>含义</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>应答用时</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>至帧尾</source>
        <translation>To end</translation>
    </message>
    <message>
        <source>字节</source>
        <translation>Bytes</translation>
    </message>
</context>
<context>
    <name>lq::AlarmTableModel</name>
    <message>
        <source>报警中，未确认</source>
        <translation>Active, unacknowledged</translation>
    </message>
    <message>
        <source>报警中，已确认</source>
        <translation>Active, acknowledged</translation>
    </message>
    <message>
        <source>已恢复，未确认</source>
        <translation>Returned, unacknowledged</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>自</source>
        <translation>Since</translation>
    </message>
    <message>
        <source>寄存器.位</source>
        <translation>Register.bit</translation>
    </message>
</context>
<context>
    <name>lq::ConfirmRestoreDialog</name>
    <message>
        <source>确认恢复参数</source>
        <translation>Confirm parameter restore</translation>
    </message>
    <message>
        <source>将逐个写入以下 %1 个寄存器（控制器的值 → 文件的值），每次写入后回读核对：</source>
        <translation>These %1 registers will be written one by one (controller value → file value), each read back and checked:</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
</context>
<context>
    <name>lq::ControllerSearchPage</name>
    <message>
        <source>约 %1 ms 应答</source>
        <translation>Answers in about %1 ms</translation>
    </message>
    <message>
        <source>%1，慢 (slow)</source>
        <translation>%1, slow</translation>
    </message>
    <message>
        <source>%1 约 %2 ms 才应答，晚于每次试的等待：是控制器应答慢，不是波特率或校验不对。</source>
        <translation> %1 took about %2 ms to answer, longer than each try waits: the controller is slow, the baud rate and parity are right.</translation>
    </message>
    <message>
        <source>轮询继续。</source>
        <translation>polling goes on.</translation>
    </message>
    <message>
        <source>“通讯”未勾选，不轮询 (polling off)。</source>
        <translation>"Poll" is unticked, so polling is off.</translation>
    </message>
    <message>
        <source>应答 (answer)</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>用时 %1 s；串口已恢复原设置，%2</source>
        <translation>Took %1 s; the port has its own settings back, %2</translation>
    </message>
    <message>
        <source>控制器搜索</source>
        <translation>Controller search</translation>
    </message>
    <message>
        <source>%1 %2 从站 %3</source>
        <translation>%1 %2 slave %3</translation>
    </message>
    <message>
        <source>%1 字节：%2</source>
        <translation>%1 bytes: %2</translation>
    </message>
    <message>
        <source>搜索全部地址 1–247（平常 1–10）</source>
        <translation>Search all addresses 1–247 (usually 1–10)</translation>
    </message>
    <message>
        <source>搜索控制器</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Framing</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>收到的字节</source>
        <translation>Bytes received</translation>
    </message>
    <message>
        <source>找到的控制器（有效应答）</source>
        <translation>Controllers found (valid reply)</translation>
    </message>
    <message>
        <source>“应用”把选中的波特率、格式和地址填入面板</source>
        <translation>"Apply" puts the selected baud rate, framing and address into the panel</translation>
    </message>
    <message>
        <source>有数据但无效 (data but no valid reply)：多半是线路对而波特率或校验不对</source>
        <translation>Data but no valid reply: usually the wiring is right and the baud rate or parity is wrong</translation>
    </message>
    <message>
        <source>在打开的串口上依次试 4 种波特率 × 3 种格式 × 各个地址，每次读块 0。</source>
        <translation>Tries 4 baud rates × 3 framings × each address on the open port, reading block 0 each time.</translation>
    </message>
    <message>
        <source>请先打开串口 (port not open)。</source>
        <translation>Port not open: open the port first.</translation>
    </message>
    <message>
        <source>正在搜索：%1（%2 / %3）</source>
        <translation>Searching: %1 (%2 / %3)</translation>
    </message>
    <message>
        <source>找到 %1 处，有数据但无效 %2 处</source>
        <translation>%1 found, %2 with data but no valid reply</translation>
    </message>
    <message>
        <source>搜索完成，试了 %1 种设置：%2，%3</source>
        <translation>Search finished, %1 settings tried: %2. %3</translation>
    </message>
    <message>
        <source>串口已关闭，搜索中止：%1。</source>
        <translation>Port closed, search stopped: %1.</translation>
    </message>
    <message>
        <source>已取消（试了 %1 / %2）：%3，%4</source>
        <translation>Cancelled (%1 / %2 tried): %3. %4</translation>
    </message>
    <message>
        <source>已应用：%1。</source>
        <translation>Applied: %1.</translation>
    </message>
</context>
<context>
    <name>lq::JournalTableModel</name>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>对象</source>
        <translation>Subject</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>lq::JournalTool</name>
    <message>
        <source>报警与事件…</source>
        <translation>Alarms &amp;&amp; events…</translation>
    </message>
    <message>
        <source>设备已断开 (hangup)：%1</source>
        <translation>Hangup: %1</translation>
    </message>
    <message>
        <source>输入框</source>
        <translation>Entry boxes</translation>
    </message>
    <message>
        <source>日志文件夹</source>
        <translation>Journal folder</translation>
    </message>
    <message>
        <source>趋势 CSV：%1</source>
        <translation>trend CSV: %1</translation>
    </message>
    <message>
        <source>通讯记录 (traffic log)：%1</source>
        <translation>traffic log: %1</translation>
    </message>
    <message>
        <source> — 未确认报警 %1 (ALARM)</source>
        <translation> — %1 unacknowledged (ALARM)</translation>
    </message>
    <message>
        <source>不保存日志文件 (--no-journal)</source>
        <translation>No journal files (--no-journal)</translation>
    </message>
    <message>
        <source>日志文件夹：%1</source>
        <translation>Journal folder: %1</translation>
    </message>
    <message>
        <source>日志文件无法写入：%1（%2）。报警与事件照常记录在本窗口中，次日或选择其他文件夹后恢复写入。</source>
        <translation>Cannot write the journal file: %1 (%2). Alarms and events are still kept in this window; writing resumes the next day or in another folder.</translation>
    </message>
    <message>
        <source>%1 %2 bit/s %3 地址 %4</source>
        <translation>%1 %2 bit/s %3 address %4</translation>
    </message>
</context>
<context>
    <name>lq::JournalWindow</name>
    <message>
        <source>报警与事件</source>
        <translation>Alarms &amp; events</translation>
    </message>
    <message>
        <source>当前报警</source>
        <translation>Active alarms</translation>
    </message>
    <message>
        <source>确认 (ACK)</source>
        <translation>ACK</translation>
    </message>
    <message>
        <source>全部确认</source>
        <translation>ACK all</translation>
    </message>
    <message>
        <source>历史</source>
        <translation>History</translation>
    </message>
    <message>
        <source>全部类别</source>
        <translation>All kinds</translation>
    </message>
    <message>
        <source>按文字筛选</source>
        <translation>Filter by text</translation>
    </message>
    <message>
        <source>类别：</source>
        <translation>Kind:</translation>
    </message>
    <message>
        <source>选择文件夹…</source>
        <translation>Choose folder…</translation>
    </message>
</context>
<context>
    <name>lq::LinkStatisticsView</name>
    <message>
        <source>丢弃的 MBAP 应答 (dropped)</source>
        <translation>Dropped MBAP replies</translation>
    </message>
    <message>
        <source>清零</source>
        <translation>Reset</translation>
    </message>
</context>
<context>
    <name>lq::MonitorTool</name>
    <message>
        <source>通讯监视…</source>
        <translation>Monitor…</translation>
    </message>
</context>
<context>
    <name>lq::MonitorWindow</name>
    <message>
        <source>通讯监视</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>通讯记录与统计</source>
        <translation>Traffic and statistics</translation>
    </message>
    <message>
        <source>搜索控制器</source>
        <translation>Controller search</translation>
    </message>
</context>
<context>
    <name>lq::ParametersTool</name>
    <message>
        <source>保存参数</source>
        <translation>Save parameters</translation>
    </message>
    <message>
        <source>打开参数文件</source>
        <translation>Open parameter file</translation>
    </message>
    <message>
        <source>控制器参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>JSON (*.json)</source>
        <translation>JSON (*.json)</translation>
    </message>
</context>
<context>
    <name>lq::ParametersWindow</name>
    <message>
        <source>控制器参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>读取控制器的参数，或打开参数文件与控制器比较</source>
        <translation>Read the controller's parameters, or open a parameter file to compare with the controller</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>打开并比较…</source>
        <translation>Open and compare…</translation>
    </message>
    <message>
        <source>恢复…</source>
        <translation>Restore…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存时写入文件的说明，如炉号</source>
        <translation>A note saved in the file, such as the furnace number</translation>
    </message>
    <message>
        <source>寄存器</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>控制器</source>
        <translation>Controller</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>标签 (label)：</source>
        <translation>Label:</translation>
    </message>
    <message>
        <source>正在读取控制器的参数…</source>
        <translation>Reading the controller's parameters…</translation>
    </message>
    <message>
        <source>控制器与文件一致</source>
        <translation>Controller and file are equal</translation>
    </message>
    <message>
        <source>控制器与文件有 %1 处不同（已标出）</source>
        <translation>Controller and file differ in %1 place(s) (marked)</translation>
    </message>
    <message>
        <source>已读取控制器的参数</source>
        <translation>Read the controller's parameters</translation>
    </message>
    <message>
        <source>已保存到 %1</source>
        <translation>Saved to %1</translation>
    </message>
    <message>
        <source>控制器与文件一致，无需写入</source>
        <translation>Controller and file are equal, nothing to write</translation>
    </message>
    <message>
        <source>未写入任何值</source>
        <translation>Nothing written</translation>
    </message>
    <message>
        <source>正在恢复：%1 / %2</source>
        <translation>Restoring: %1 / %2</translation>
    </message>
    <message>
        <source>文件：未打开</source>
        <translation>File: none open</translation>
    </message>
    <message>
        <source>，标签 %1</source>
        <translation>, label %1</translation>
    </message>
    <message>
        <source>文件：%1（保存于 %2%3）</source>
        <translation>File: %1 (saved %2%3)</translation>
    </message>
</context>
<context>
    <name>lq::TForm1</name>
    <message>
        <source>空</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>请输入数值 (empty)</source>
        <translation>Enter a value</translation>
    </message>
    <message>
        <source>负值</source>
        <translation>Neg.</translation>
    </message>
    <message>
        <source>不能为负 (not negative)</source>
        <translation>Cannot be negative</translation>
    </message>
    <message>
        <source>非整数</source>
        <translation>Frac.</translation>
    </message>
    <message>
        <source>只接受整数 (whole numbers only)</source>
        <translation>Whole numbers only</translation>
    </message>
    <message>
        <source>未勾选</source>
        <translation>No comm</translation>
    </message>
    <message>
        <source>通讯未勾选，未发送</source>
        <translation>"Poll" is not ticked: not sent</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Addr.</translation>
    </message>
    <message>
        <source>从站地址无效，未发送</source>
        <translation>Invalid slave address: not sent</translation>
    </message>
    <message>
        <source>PW5_三相控制界面  </source>
        <translation>PW5_3-phase control panel  </translation>
    </message>
    <message>
        <source>通讯</source>
        <translation>Poll</translation>
    </message>
    <message>
        <source>地址:   </source>
        <translation>Addr: </translation>
    </message>
    <message>
        <source>端口: </source>
        <translation>Port: </translation>
    </message>
    <message>
        <source>波特率:   </source>
        <translation>Baud: </translation>
    </message>
    <message>
        <source>位元: </source>
        <translation>Bits: </translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
    <message>
        <source>警报：</source>
        <translation>Alarm:</translation>
    </message>
    <message>
        <source>温度：</source>
        <translation>Temp:</translation>
    </message>
    <message>
        <source>输入：</source>
        <translation>Input:</translation>
    </message>
    <message>
        <source>输出量：</source>
        <translation>Output:</translation>
    </message>
    <message>
        <source>温控：</source>
        <translation>Ctrl:</translation>
    </message>
    <message>
        <source>最大输出量限制：</source>
        <translation>Max out limit:</translation>
    </message>
    <message>
        <source>最小输出量限制：</source>
        <translation>Min out limit:</translation>
    </message>
    <message>
        <source>超限</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>打开串口错误</source>
        <translation>Cannot open the port</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>Close port</translation>
    </message>
</context>
<context>
    <name>lq::TForm2</name>
    <message>
        <source>修改参数</source>
        <translation>Change parameters</translation>
    </message>
    <message>
        <source>小数点: </source>
        <translation>Decimals: </translation>
    </message>
    <message>
        <source>菜单自动 </source>
        <translation>Menu auto </translation>
    </message>
    <message>
        <source>退出时间: </source>
        <translation>exit time: </translation>
    </message>
    <message>
        <source>输入信号: </source>
        <translation>Input signal: </translation>
    </message>
    <message>
        <source>下限值:</source>
        <translation>Low:</translation>
    </message>
    <message>
        <source>上限值:</source>
        <translation>High:</translation>
    </message>
    <message>
        <source>迂回值:</source>
        <translation>Hyst.:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>lq::TiEditCustom</name>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Select All</translation>
    </message>
</context>
<context>
    <name>lq::TrafficPage</name>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>只看错误</source>
        <translation>Errors only</translation>
    </message>
    <message>
        <source>跟随最新</source>
        <translation>Follow newest</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>保存…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>保存通讯记录</source>
        <translation>Save traffic record</translation>
    </message>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>通讯监视</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>通讯记录无法保存 (cannot save)：%1
%2</source>
        <translation>Cannot save the traffic record: %1
%2</translation>
    </message>
</context>
<context>
    <name>lq::TrafficTableModel</name>
    <message>
        <source>收到的帧：帧完整收到（帧尾静默结束）的时刻</source>
        <translation>Received frames: when the frame was complete (its end-of-frame silence over)</translation>
    </message>
    <message>
        <source>应答用时 (answer time)：从请求发出到应答的第一个字节</source>
        <translation>Answer time: from the request going out to the reply's first byte</translation>
    </message>
    <message>
        <source>至帧尾：从请求发出到帧完整收到，含判定帧结束的静默时间</source>
        <translation>To end: from the request going out to the complete frame, the silence that ends a frame included</translation>
    </message>
</context>
<context>
    <name>lq::TrendTool</name>
    <message>
        <source>趋势</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>记录到 CSV</source>
        <translation>Record to CSV</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>记录到 %1</source>
        <translation>Recording to %1</translation>
    </message>
    <message>
        <source>已记录到 %1</source>
        <translation>Recorded to %1</translation>
    </message>
    <message>
        <source>记录停止：无法写入 %1（%2）</source>
        <translation>Recording stopped: cannot write %1 (%2)</translation>
    </message>
</context>
<context>
    <name>lq::TrendWindow</name>
    <message>
        <source>%1 分钟</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 小时</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>趋势</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>导出 PNG</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>PNG (*.png)</source>
        <translation>PNG (*.png)</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>时间范围:</source>
        <translation>Span:</translation>
    </message>
    <message>
        <source>已导出 %1</source>
        <translation>Exported %1</translation>
    </message>
    <message>
        <source>导出失败：%1</source>
        <translation>Export failed: %1</translation>
    </message>
    <message>
        <source>停止记录</source>
        <translation>Stop recording</translation>
    </message>
</context>
</TS>
