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
        <source>格式名 (format) 不是 &quot;%1&quot;</source>
        <translation>format is not &quot;%1&quot;</translation>
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
        <translation>Read failed: no read request went out within %1 s (port not open or &quot;Comm&quot; not ticked)</translation>
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
        <translation>not sent (port not open or &quot;Comm&quot; not ticked)</translation>
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
    <name>PortLostNotice</name>
    <message>
        <source>连接已断开 (connection lost)：%1
串口服务器关闭了连接，或者约 10 秒没有应答。检查网络和设备后点击“打开串口”重新连接。</source>
        <translation type="unfinished"></translation>
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
        <translation>Alarms &amp; events…</translation>
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
        <translation type="unfinished"></translation>
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
        <translation>Read the controller&apos;s parameters, or open a parameter file to compare with the controller</translation>
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
        <translation>Reading the controller&apos;s parameters…</translation>
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
        <translation>Read the controller&apos;s parameters</translation>
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
