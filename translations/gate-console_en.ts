<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Alarms</name>
    <message>
        <source>设置  </source>
        <translation>Set alarms: </translation>
    </message>
    <message>
        <source>询查 </source>
        <translation>Read alarms: </translation>
    </message>
    <message>
        <source>报警设置   </source>
        <translation>Set alarm patterns: </translation>
    </message>
</context>
<context>
    <name>Configuration</name>
    <message>
        <source>读写器询查最大时间</source>
        <translation>Inventory time</translation>
    </message>
    <message>
        <source>关闭读写器时间</source>
        <translation>Reader off time</translation>
    </message>
    <message>
        <source>统计数据时间</source>
        <translation>Stats period</translation>
    </message>
    <message>
        <source>卡片超时时间</source>
        <translation>Tag time-out</translation>
    </message>
    <message>
        <source>卡片静默时间</source>
        <translation>Tag quiet time</translation>
    </message>
    <message>
        <source>障碍物最大停留时间</source>
        <translation>Obstacle dwell</translation>
    </message>
    <message>
        <source>后台记录数据配置</source>
        <translation>Record memory policy</translation>
    </message>
    <message>
        <source>绿灯提示</source>
        <translation>Green light</translation>
    </message>
    <message>
        <source>请先在“%1”中选择一个数值</source>
        <translation>Please choose a value in &quot;%1&quot; first.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>输入数据不正确</source>
        <translation>The data entered is not valid.</translation>
    </message>
    <message>
        <source>块数不能为0,且不能大于6</source>
        <translation>Block count must be 1 to 6.</translation>
    </message>
    <message>
        <source>请输入新控制器地址</source>
        <translation>Please enter the new controller address.</translation>
    </message>
    <message>
        <source>设置控制器配置信息</source>
        <translation>Set configuration: </translation>
    </message>
    <message>
        <source>获取控制器配置信息</source>
        <translation>Read configuration: </translation>
    </message>
    <message>
        <source>读取检测配置</source>
        <translation>Read association: </translation>
    </message>
    <message>
        <source>超前检测时间</source>
        <translation>Lead time</translation>
    </message>
    <message>
        <source>滞后检测时间</source>
        <translation>Lag time</translation>
    </message>
    <message>
        <source>设置检测配置</source>
        <translation>Set association: </translation>
    </message>
    <message>
        <source>读取配置</source>
        <translation>Read tag reading: </translation>
    </message>
    <message>
        <source>重复次数</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>设置配置</source>
        <translation>Set tag reading: </translation>
    </message>
    <message>
        <source>读取地址</source>
        <translation>Read address: </translation>
    </message>
    <message>
        <source>设置地址</source>
        <translation>Set address: </translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>通讯错误</source>
        <translation>Communication error.</translation>
    </message>
    <message>
        <source>信息提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请输入要打开的控制器地址</source>
        <translation>Please enter the address of the controller to open.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>打开端口</source>
        <translation>Open port: </translation>
    </message>
    <message>
        <source>打开网口</source>
        <translation>Open network: </translation>
    </message>
    <message>
        <source>重新连接后应答的是另一台控制器（序列号不同），连接已关闭。请检查线路后重新打开。</source>
        <translation>After reconnecting, another controller answered (another serial number). The connection was closed; check the line and open it again.</translation>
    </message>
    <message>
        <source>连接已断开。该控制器没有序列号，无法确认重新连接的是同一台控制器，请重新打开。</source>
        <translation>The connection was lost. This controller has no serial number, so a reconnection cannot be proven to reach the same one; open it again.</translation>
    </message>
</context>
<context>
    <name>DeviceCommands</name>
    <message>
        <source>设置继电器</source>
        <translation>Set relay: </translation>
    </message>
    <message>
        <source>控制LED、蜂鸣器</source>
        <translation>LED and buzzer: </translation>
    </message>
    <message>
        <source>设置实时时钟</source>
        <translation>Set clock: </translation>
    </message>
    <message>
        <source>查询实时时钟</source>
        <translation>Read clock: </translation>
    </message>
    <message>
        <source>关闭红外</source>
        <translation>IR off: </translation>
    </message>
    <message>
        <source>打开红外</source>
        <translation>IR on: </translation>
    </message>
    <message>
        <source>查询红外</source>
        <translation>Read IR: </translation>
    </message>
    <message>
        <source>获取控制器基本信息</source>
        <translation>Read basic info: </translation>
    </message>
    <message>
        <source>获取控制器详细信息</source>
        <translation>Read details: </translation>
    </message>
    <message>
        <source>清除控制器队列中的缓存</source>
        <translation>Clear controller buffer: </translation>
    </message>
    <message>
        <source>获取读写器状态</source>
        <translation>Read reader status: </translation>
    </message>
    <message>
        <source>连接断开</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>射频场正在打开...</source>
        <translation>Turning on...</translation>
    </message>
    <message>
        <source>连接正常</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>请输入数据</source>
        <translation>Please enter the data.</translation>
    </message>
    <message>
        <source>请输入00-99之间的任一数值</source>
        <translation>Please enter a number from 00 to 99.</translation>
    </message>
    <message>
        <source>信息提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>EventJournal</name>
    <message>
        <source>信息提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>事件日志无法写入：
%1

监控照常进行；日志在能够写入时继续记录。</source>
        <translation>The event journal cannot be written:
%1

Monitoring goes on; the journal resumes once it can be written.</translation>
    </message>
    <message>
        <source>事件日志写入失败</source>
        <translation>Event journal write failed</translation>
    </message>
</context>
<context>
    <name>EventText</name>
    <message>
        <source>正向</source>
        <translation>forward</translation>
    </message>
    <message>
        <source>反向</source>
        <translation>reverse</translation>
    </message>
    <message>
        <source>方向不定</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>红外已关闭</source>
        <translation>IR off</translation>
    </message>
</context>
<context>
    <name>LiveList</name>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>全部复制</source>
        <translation>Copy all</translation>
    </message>
    <message>
        <source>保存为文件...</source>
        <translation>Save to file...</translation>
    </message>
    <message>
        <source>查找...</source>
        <translation>Find...</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>上一个 (Shift+F3)</source>
        <translation>Previous (Shift+F3)</translation>
    </message>
    <message>
        <source>下一个 (F3)</source>
        <translation>Next (F3)</translation>
    </message>
    <message>
        <source>关闭查找 (Esc)</source>
        <translation>Close find (Esc)</translation>
    </message>
    <message>
        <source>无匹配</source>
        <translation>No match</translation>
    </message>
    <message>
        <source>▼ 下方还有 %1 行，按 Esc 回到最新</source>
        <translation>▼ %1 more below; Esc shows the newest</translation>
    </message>
    <message>
        <source>保存为文件</source>
        <translation>Save to file</translation>
    </message>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>信息提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>文件保存失败：%1
%2</source>
        <translation>Could not save the file: %1
%2</translation>
    </message>
    <message>
        <source>要复制 %1 行，剪贴板一次最多复制 %2 行。
请使用“保存为文件...”。</source>
        <translation>Copying %1 lines; the clipboard takes at most %2 lines at a time.
Please use &quot;Save to file...&quot;.</translation>
    </message>
    <message>
        <source>IF2输出数据</source>
        <translation>IF2 output</translation>
    </message>
    <message>
        <source>常规响应</source>
        <translation>Passages</translation>
    </message>
    <message>
        <source>统计消息</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>通过超时消息</source>
        <translation>Passage time-outs</translation>
    </message>
    <message>
        <source>卡片超时消息</source>
        <translation>Tag time-outs</translation>
    </message>
    <message>
        <source>红外探测报警消息</source>
        <translation>IR alarms</translation>
    </message>
    <message>
        <source>标签数据显示</source>
        <translation>Tag data</translation>
    </message>
    <message>
        <source>常规消息</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>正在保存：%1%</source>
        <translation>Saving: %1%</translation>
    </message>
</context>
<context>
    <name>LiveMessage</name>
    <message>
        <source>%1人正向 %2人反向 %3方向不定</source>
        <translation>%1 forward, %2 reverse, %3 unknown</translation>
    </message>
    <message>
        <source>共检测到%1张卡片</source>
        <translation>%1 tags detected in total</translation>
    </message>
    <message>
        <source> 超时</source>
        <translation> timed out</translation>
    </message>
    <message>
        <source>  无人</source>
        <translation>  nobody</translation>
    </message>
    <message>
        <source> 通过超时</source>
        <translation> passage time-out</translation>
    </message>
    <message>
        <source> 红外探测报警</source>
        <translation> IR alarm</translation>
    </message>
    <message>
        <source>   无人</source>
        <translation>   nobody</translation>
    </message>
    <message>
        <source>   通过超时</source>
        <translation>   passage time-out</translation>
    </message>
    <message>
        <source>   红外探测报警</source>
        <translation>   IR alarm</translation>
    </message>
    <message>
        <source>CRC校验错误</source>
        <translation>CRC error</translation>
    </message>
    <message>
        <source>提示:</source>
        <translation>Note:</translation>
    </message>
    <message>
        <source>获取命令</source>
        <translation>Read message: </translation>
    </message>
    <message>
        <source>无人无EAS报警</source>
        <translation>nobody, no EAS alarm</translation>
    </message>
    <message>
        <source>有人正向通过</source>
        <translation>person passed forward</translation>
    </message>
    <message>
        <source>有人反向通过</source>
        <translation>person passed in reverse</translation>
    </message>
    <message>
        <source>有人通过但方向不明</source>
        <translation>person passed, direction unknown</translation>
    </message>
    <message>
        <source>红外打开有EAS报警</source>
        <translation>EAS alarm, IR on</translation>
    </message>
    <message>
        <source>红外已关闭有EAS报警</source>
        <translation>EAS alarm, IR off</translation>
    </message>
</context>
<context>
    <name>ModuleSettings</name>
    <message>
        <source>错误: %1是错误的地址</source>
        <translation>Error: %1 is not a valid address.</translation>
    </message>
    <message>
        <source>没有选择设备！</source>
        <translation>No module selected.</translation>
    </message>
    <message>
        <source>服务端口冲突！</source>
        <translation>Service port in use.</translation>
    </message>
    <message>
        <source>输入的IP不合法！</source>
        <translation>The IP address entered is not valid.</translation>
    </message>
    <message>
        <source>请检查设备与pc连线状态!</source>
        <translation>Please check the link between the module and the PC.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>传输协议</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>校验</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>比特位</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>DTR 设置</source>
        <translation>DTR</translation>
    </message>
    <message>
        <source>RTS 设置</source>
        <translation>RTS</translation>
    </message>
    <message>
        <source>连接方式</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>连接时限</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>On - the - Fly 功能</source>
        <translation>On-the-fly</translation>
    </message>
    <message>
        <source>未选择“%1”，设置未写入！</source>
        <translation>&quot;%1&quot; not chosen; settings not written.</translation>
    </message>
    <message>
        <source>地址 %1 不是有效的IP地址，未发送</source>
        <translation>Address %1 is not a valid IP address; nothing sent.</translation>
    </message>
    <message>
        <source>无法发送到 %1:%2：%3</source>
        <translation>Cannot send to %1:%2: %3</translation>
    </message>
</context>
<context>
    <name>PageAlarm</name>
    <message>
        <source>报警设置</source>
        <translation>Alarm settings</translation>
    </message>
    <message>
        <source>1.有人无卡通过报警模式</source>
        <translation>1. No tag</translation>
    </message>
    <message>
        <source>单位周期内蜂
鸣器鸣响时间</source>
        <translation>Buzzer on
per cycle</translation>
    </message>
    <message>
        <source>单位周期内蜂
鸣器静默时间</source>
        <translation>Buzzer off
per cycle</translation>
    </message>
    <message>
        <source>鸣叫次数</source>
        <translation>Beeps</translation>
    </message>
    <message>
        <source>单位周期内LED
红灯点亮时间</source>
        <translation>Red LED on
per cycle</translation>
    </message>
    <message>
        <source>单位周期内LED
红灯熄灭时间</source>
        <translation>Red LED off
per cycle</translation>
    </message>
    <message>
        <source>闪烁次数</source>
        <translation>Flashes</translation>
    </message>
    <message>
        <source>单位周期内继
电器吸合时间</source>
        <translation>Relay closed
per cycle</translation>
    </message>
    <message>
        <source>单位周期内继
电器释放时间</source>
        <translation>Relay open
per cycle</translation>
    </message>
    <message>
        <source>动作次数</source>
        <translation>Cycles</translation>
    </message>
    <message>
        <source>2.有人反向通过报警模式</source>
        <translation>2. Reverse passage</translation>
    </message>
    <message>
        <source>3.有人不确定方向通过报警模式</source>
        <translation>3. Unknown direction</translation>
    </message>
    <message>
        <source>4.红外探测报警模式</source>
        <translation>4. IR alarm</translation>
    </message>
    <message>
        <source>5.EAS报警模式</source>
        <translation>5. EAS alarm</translation>
    </message>
    <message>
        <source>启动报警项</source>
        <translation>Alarms enabled</translation>
    </message>
    <message>
        <source>有人无卡通过报警</source>
        <translation>No tag</translation>
    </message>
    <message>
        <source>有人反向通过报警</source>
        <translation>Reverse passage</translation>
    </message>
    <message>
        <source>有人不确定方向通过报警</source>
        <translation>Unknown direction</translation>
    </message>
    <message>
        <source>红外探测报警</source>
        <translation>IR alarm</translation>
    </message>
    <message>
        <source>EAS报警</source>
        <translation>EAS alarm</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>执行</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>设置</source>
        <comment>writes the alarm patterns</comment>
        <translation>Set patterns</translation>
    </message>
</context>
<context>
    <name>PageChannel</name>
    <message>
        <source>通道管理模式</source>
        <translation>Passage mode</translation>
    </message>
    <message>
        <source>常规响应</source>
        <translation>Passages</translation>
    </message>
    <message>
        <source>统计消息</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>卡片超时消息</source>
        <translation>Tag time-outs</translation>
    </message>
    <message>
        <source>标签数据显示</source>
        <translation>Tag data</translation>
    </message>
    <message>
        <source>通过超时消息</source>
        <translation>Passage time-outs</translation>
    </message>
    <message>
        <source>IF2输出数据</source>
        <translation>IF2 output</translation>
    </message>
    <message>
        <source>红外探测报警消息</source>
        <translation>IR alarms</translation>
    </message>
    <message>
        <source>获取卡片数据</source>
        <translation>Read tag data</translation>
    </message>
    <message>
        <source>起始块号</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>块数量</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>块长度</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>获取数据</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>IF1开始获取</source>
        <translation>IF1 start</translation>
    </message>
    <message>
        <source>IF1停止获取</source>
        <translation>IF1 stop</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>打开IF2</source>
        <translation>Open IF2</translation>
    </message>
    <message>
        <source>关闭IF2</source>
        <translation>Close IF2</translation>
    </message>
</context>
<context>
    <name>PageCommand</name>
    <message>
        <source>命令</source>
        <translation>Commands</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>地址:</source>
        <translation>Addr:</translation>
    </message>
    <message>
        <source>打开端口</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>关闭端口</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>网口</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>打开网口</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>关闭网口</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>控制器系统信息</source>
        <translation>Controller information</translation>
    </message>
    <message>
        <source>产品代码</source>
        <translation>Product</translation>
    </message>
    <message>
        <source>基本信息</source>
        <translation>Basic info</translation>
    </message>
    <message>
        <source>版本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>详细信息</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial no.</translation>
    </message>
    <message>
        <source>继电器设置</source>
        <translation>Relay</translation>
    </message>
    <message>
        <source>吸合时间</source>
        <translation>On time</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>红外控制</source>
        <translation>IR</translation>
    </message>
    <message>
        <source>关闭红外</source>
        <translation>IR off</translation>
    </message>
    <message>
        <source>打开红外</source>
        <translation>IR on</translation>
    </message>
    <message>
        <source>查询红外</source>
        <translation>Read IR</translation>
    </message>
    <message>
        <source>读写器状态</source>
        <translation>Reader status</translation>
    </message>
    <message>
        <source>控制器与读写器连接状态:</source>
        <translation>Reader link:</translation>
    </message>
    <message>
        <source>获取读写器状态</source>
        <translation>Read status</translation>
    </message>
    <message>
        <source>射频场状态:</source>
        <translation>RF field:</translation>
    </message>
    <message>
        <source>清空控制器缓存</source>
        <translation>Clear buffer</translation>
    </message>
    <message>
        <source>LED及蜂鸣器控制</source>
        <translation>LED and buzzer</translation>
    </message>
    <message>
        <source>LED点亮时间</source>
        <translation>LED on</translation>
    </message>
    <message>
        <source>LED熄灭时间</source>
        <translation>LED off</translation>
    </message>
    <message>
        <source>闪烁次数</source>
        <translation>Flashes</translation>
    </message>
    <message>
        <source>鸣器鸣响时间</source>
        <translation>Buzzer on</translation>
    </message>
    <message>
        <source>鸣器静默时间</source>
        <translation>Buzzer off</translation>
    </message>
    <message>
        <source>鸣叫次数</source>
        <translation>Beeps</translation>
    </message>
    <message>
        <source>执行</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>绿色LED</source>
        <translation>Green LED</translation>
    </message>
    <message>
        <source>红色LED</source>
        <translation>Red LED</translation>
    </message>
    <message>
        <source>实时时钟</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>设置时钟</source>
        <translation>Set clock</translation>
    </message>
    <message>
        <source>查询时钟</source>
        <translation>Read clock</translation>
    </message>
    <message>
        <source>控制器地址</source>
        <translation>Controller address</translation>
    </message>
    <message>
        <source>新地址:</source>
        <translation>New:</translation>
    </message>
    <message>
        <source>设置地址</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>当前地址:</source>
        <translation>Current:</translation>
    </message>
    <message>
        <source>读取地址</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>读取数据配置</source>
        <translation>Tag data reading</translation>
    </message>
    <message>
        <source>读取数据块</source>
        <translation>Read blocks</translation>
    </message>
    <message>
        <source>重复次数</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>读取失败，是否重读</source>
        <translation>Retry failures</translation>
    </message>
    <message>
        <source>起始块:</source>
        <translation>First block:</translation>
    </message>
    <message>
        <source>块数:</source>
        <translation>Blocks:</translation>
    </message>
    <message>
        <source>设置配置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>读取配置</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>控制器配置信息</source>
        <translation>Controller configuration</translation>
    </message>
    <message>
        <source>读写器询查最大时间</source>
        <translation>Inventory time</translation>
    </message>
    <message>
        <source>关闭读写器时间</source>
        <translation>Reader off time</translation>
    </message>
    <message>
        <source>统计数据时间</source>
        <translation>Stats period</translation>
    </message>
    <message>
        <source>卡片超时时间</source>
        <translation>Tag time-out</translation>
    </message>
    <message>
        <source>卡片静默时间</source>
        <translation>Tag quiet time</translation>
    </message>
    <message>
        <source>障碍物最大停留时间</source>
        <translation>Obstacle dwell</translation>
    </message>
    <message>
        <source>后台记录数据配置</source>
        <translation>Record memory policy</translation>
    </message>
    <message>
        <source>后台数据记录存储区满时停止记录</source>
        <translation>Stop recording when full</translation>
    </message>
    <message>
        <source>后台数据记录存储区满时覆盖最早记录</source>
        <translation>Overwrite oldest when full</translation>
    </message>
    <message>
        <source>绿灯提示</source>
        <translation>Green light</translation>
    </message>
    <message>
        <source>启用</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>设置配置信息</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>获取配置信息</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>执 行</source>
        <translation>Send</translation>
    </message>
    <message>
        <source> 人卡智能关联设定</source>
        <translation> Person-tag association</translation>
    </message>
    <message>
        <source>使能人卡智能关联功能</source>
        <translation>Enable association</translation>
    </message>
    <message>
        <source>使用默认的超前、滞后时间</source>
        <translation>Default lead/lag times</translation>
    </message>
    <message>
        <source>使能人卡唯一性</source>
        <translation>One tag per person</translation>
    </message>
    <message>
        <source>使能卡片超前检测</source>
        <translation>Detect tags ahead</translation>
    </message>
    <message>
        <source>超前检测时间</source>
        <translation>Lead time</translation>
    </message>
    <message>
        <source>滞后检测时间</source>
        <translation>Lag time</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>模式切换</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>通道管理模式</source>
        <translation>Passage</translation>
    </message>
    <message>
        <source>EAS模式</source>
        <translation>EAS</translation>
    </message>
    <message>
        <source>红外探测方向设置</source>
        <translation>IR direction</translation>
    </message>
    <message>
        <source>红外线正向</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>红外线反向</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>读写器失去连接报警设置命令</source>
        <translation>Reader-loss alarm</translation>
    </message>
    <message>
        <source>读写器失去连接时不报警</source>
        <translation>No alarm</translation>
    </message>
    <message>
        <source>读写器失去连接时报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>设置是否写后台记录命令</source>
        <translation>Record writing</translation>
    </message>
    <message>
        <source>不写后台记录</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>要写后台记录</source>
        <translation>On</translation>
    </message>
    <message>
        <source>保存或恢复配置现场数据</source>
        <translation>Save or restore settings</translation>
    </message>
    <message>
        <source>保存当前全部配置信息到后台</source>
        <translation>Save all settings</translation>
    </message>
    <message>
        <source>从后台恢复全部配置信息</source>
        <translation>Restore all settings</translation>
    </message>
    <message>
        <source>设置后台配置信息自动加载</source>
        <translation>Settings auto-load</translation>
    </message>
    <message>
        <source>启动自动加载</source>
        <translation>On</translation>
    </message>
    <message>
        <source>禁止自动加载</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>查询后台记录数据状态</source>
        <translation>Record memory status</translation>
    </message>
    <message>
        <source>记录条数共</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>条</source>
        <translation> </translation>
    </message>
    <message>
        <source>最早记录时间</source>
        <translation>Earliest</translation>
    </message>
    <message>
        <source>最晚记录时间</source>
        <translation>Latest</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>后台记录操作</source>
        <translation>Stored records</translation>
    </message>
    <message>
        <source>提取最早时刻记录</source>
        <translation>Read earliest</translation>
    </message>
    <message>
        <source>提取最早时刻记录并删除</source>
        <translation>Read and delete earliest</translation>
    </message>
    <message>
        <source>第</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>提取指定序号记录</source>
        <translation>Read by number</translation>
    </message>
    <message>
        <source>删除全部后台记录</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>存储全部后台记录为Text文件</source>
        <translation>Save all to text file</translation>
    </message>
    <message>
        <source>存储全部后台记录为Text文件并删除所有记录</source>
        <translation>Save all to text file and delete</translation>
    </message>
    <message>
        <source>执行</source>
        <comment>runs the LED and buzzer test</comment>
        <translation>Test</translation>
    </message>
</context>
<context>
    <name>PageEas</name>
    <message>
        <source>EAS模式</source>
        <translation>EAS mode</translation>
    </message>
    <message>
        <source>常规消息   </source>
        <translation>Events   </translation>
    </message>
    <message>
        <source>统计消息    </source>
        <translation>Statistics    </translation>
    </message>
    <message>
        <source>通过超时消息              </source>
        <translation>Passage time-outs              </translation>
    </message>
    <message>
        <source>红外探测报警消息                       </source>
        <translation>IR alarms                       </translation>
    </message>
    <message>
        <source>开始获取</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止获取</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>PageTcpip</name>
    <message>
        <source>TCPIP配置</source>
        <translation>TCP/IP modules</translation>
    </message>
    <message>
        <source>序    号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>用户名/设备名</source>
        <translation>Name / module</translation>
    </message>
    <message>
        <source>搜        索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>指定搜索</source>
        <translation>Find by IP</translation>
    </message>
    <message>
        <source>设         置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>修  改  IP</source>
        <translation>Change IP</translation>
    </message>
    <message>
        <source>设备闪灯</source>
        <translation>Flash LED</translation>
    </message>
    <message>
        <source>说   明</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>搜    索： 通过广播协议查找本地局域网设备，该操作无法查找跨网段设备</source>
        <translation>Search: finds modules on this subnet by broadcast</translation>
    </message>
    <message>
        <source>指定搜索： 通过IP地址查找指定设备，多数用于查找跨网段设备</source>
        <translation>Find by IP: finds one module by IP, e.g. on another subnet</translation>
    </message>
    <message>
        <source>设    置： 用于配置指定设备参数</source>
        <translation>Settings: sets up the selected module</translation>
    </message>
    <message>
        <source>修 改 IP： 在线修改指定设备IP地址</source>
        <translation>Change IP: changes the selected module&apos;s IP address</translation>
    </message>
    <message>
        <source>设备闪灯： 点击该按纽，指定设备将会快速闪灯，用于现场快速识别设备</source>
        <translation>Flash LED: the selected module flashes, to spot it on site</translation>
    </message>
</context>
<context>
    <name>RecordLine</name>
    <message>
        <source>第%1条记录    </source>
        <translation>Record %1    </translation>
    </message>
    <message>
        <source>%1人正向 %2人反向 %3方向不定共检测到%4张卡片</source>
        <translation>%1 forward, %2 reverse, %3 unknown, %4 tags detected</translation>
    </message>
    <message>
        <source>设置实时时钟设置前时钟:  %1  设置后时钟:  %2</source>
        <translation>Clock set  before:  %1  after:  %2</translation>
    </message>
    <message>
        <source> 超时</source>
        <translation> timed out</translation>
    </message>
    <message>
        <source> 通过超时</source>
        <translation> passage time-out</translation>
    </message>
    <message>
        <source> 红外探测报警</source>
        <translation> IR alarm</translation>
    </message>
    <message>
        <source>  无人</source>
        <translation>  nobody</translation>
    </message>
    <message>
        <source>  红外已关闭</source>
        <translation>  IR off</translation>
    </message>
    <message>
        <source>%1人正向%2人反向 %3方向不定共检测到%4张卡片</source>
        <translation>%1 forward, %2 reverse, %3 unknown, %4 tags detected</translation>
    </message>
    <message>
        <source> 无人</source>
        <translation> nobody</translation>
    </message>
    <message>
        <source>无人</source>
        <translation>nobody</translation>
    </message>
    <message>
        <source>通过超时</source>
        <translation>passage time-out</translation>
    </message>
    <message>
        <source>红外探测报警</source>
        <translation>IR alarm</translation>
    </message>
</context>
<context>
    <name>Records</name>
    <message>
        <source>目录不存在或无法创建</source>
        <translation>The folder is missing and cannot be created.</translation>
    </message>
    <message>
        <source>正在存储,请稍等...</source>
        <translation>Saving, please wait...</translation>
    </message>
    <message>
        <source>已存储 %1/%2 条</source>
        <translation>Saved %1/%2</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>保存所有后台记录</source>
        <translation>Save all records: </translation>
    </message>
    <message>
        <source>已保存到 %1</source>
        <translation>Saved to %1</translation>
    </message>
    <message>
        <source>无法写入文件 %1</source>
        <translation>Cannot write the file %1</translation>
    </message>
    <message>
        <source>无法创建文件 %1</source>
        <translation>Cannot create the file %1</translation>
    </message>
    <message>
        <source>文件错误</source>
        <translation>File error</translation>
    </message>
    <message>
        <source>后台记录未能全部存储到文件,没有删除任何后台记录</source>
        <translation>Not all records were saved to the file; no record was deleted.</translation>
    </message>
    <message>
        <source>是否删除所有后台记录</source>
        <translation>Delete all stored records?</translation>
    </message>
    <message>
        <source>保存并删除所有后台记录</source>
        <translation>Save &amp; delete all records: </translation>
    </message>
    <message>
        <source>无法确认后台记录状态,没有删除任何后台记录</source>
        <translation>The record memory state could not be confirmed; no record was deleted.</translation>
    </message>
    <message>
        <source>存储后后台记录已有变化,没有删除任何后台记录,请重新存储</source>
        <translation>The records changed after saving; no record was deleted. Please save again.</translation>
    </message>
    <message>
        <source>查询后台记录状态</source>
        <translation>Read record status: </translation>
    </message>
    <message>
        <source>提取最早时刻记录</source>
        <translation>Read earliest record: </translation>
    </message>
    <message>
        <source>信息提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请输入的记录序号</source>
        <translation>Please enter the record number.</translation>
    </message>
    <message>
        <source>输入的记录序号必须大于0</source>
        <translation>The record number must be greater than 0.</translation>
    </message>
    <message>
        <source>提取指定序号记录</source>
        <translation>Read record by number: </translation>
    </message>
    <message>
        <source>删除所有后台记录</source>
        <translation>Delete all records: </translation>
    </message>
    <message>
        <source>控制器报告的后台记录数 %1 超出范围(最多 %2 条),没有存储或删除任何后台记录</source>
        <translation>The controller reports %1 records, more than the %2 a log can hold. Nothing was saved or deleted.</translation>
    </message>
    <message>
        <source>%1 条后台记录无法写入文本文件(第 %2 条),没有删除任何后台记录;gatectl records export --format csv 可保存这些记录(含原始数据)</source>
        <translation>%1 records cannot be written to the text file (no. %2). No record was deleted. gatectl records export --format csv keeps them, raw data included.</translation>
    </message>
    <message>
        <source>文件未能写入磁盘,没有删除任何后台记录</source>
        <translation>The file could not be synced to the disk. No record was deleted.</translation>
    </message>
</context>
<context>
    <name>ResultText</name>
    <message>
        <source>操作成功</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>获得标签超时消息</source>
        <translation>Tag time-out</translation>
    </message>
    <message>
        <source>获得通过超时消息</source>
        <translation>Passage time-out</translation>
    </message>
    <message>
        <source>获得红外报警消息</source>
        <translation>IR alarm</translation>
    </message>
    <message>
        <source>本条记录不存在或已失效</source>
        <translation>No such record</translation>
    </message>
    <message>
        <source>正在进行内部自检及数据初始化....</source>
        <translation>Self-test running...</translation>
    </message>
    <message>
        <source>检索序号超过范围</source>
        <translation>Index out of range</translation>
    </message>
    <message>
        <source>无效的命令</source>
        <translation>Invalid command</translation>
    </message>
    <message>
        <source>模式不对</source>
        <translation>Wrong mode</translation>
    </message>
    <message>
        <source>控制器无法保存新模式</source>
        <translation>New mode not saved</translation>
    </message>
    <message>
        <source>系统被强制设置在EAS模式</source>
        <translation>EAS mode is forced</translation>
    </message>
    <message>
        <source>控制器保存新的红外方向失败</source>
        <translation>IR direction not saved</translation>
    </message>
    <message>
        <source>不能设置为不写后台记录</source>
        <translation>Cannot be turned off</translation>
    </message>
    <message>
        <source>正在寻找配置信息....</source>
        <translation>Finding settings...</translation>
    </message>
    <message>
        <source>EAS获得通过超时消息</source>
        <translation>EAS passage time-out</translation>
    </message>
    <message>
        <source>EAS获得红外报警消息</source>
        <translation>EAS IR alarm</translation>
    </message>
    <message>
        <source>通讯错误</source>
        <translation>Communication error</translation>
    </message>
    <message>
        <source>CRC校验错误</source>
        <translation>CRC error</translation>
    </message>
    <message>
        <source>返回数据长度错误</source>
        <translation>Bad reply length</translation>
    </message>
    <message>
        <source>通讯繁忙,设备正在执行其他指令</source>
        <translation>Device busy</translation>
    </message>
    <message>
        <source>命令错误</source>
        <translation>Command error</translation>
    </message>
    <message>
        <source>设备拒绝执行命令</source>
        <translation>Module refused the command</translation>
    </message>
    <message>
        <source>与设备连接不上</source>
        <translation>Cannot reach the device</translation>
    </message>
    <message>
        <source>命令执行失败</source>
        <translation>Command failed</translation>
    </message>
    <message>
        <source>后台记录数据区空闲容量&gt;15%</source>
        <translation>Record memory: over 15% free</translation>
    </message>
    <message>
        <source>后台记录数据区空闲容量&lt;=15%</source>
        <translation>Record memory: 15% or less free</translation>
    </message>
    <message>
        <source>后台记录数据区已满并已停止后台记录</source>
        <translation>Record memory full, stopped</translation>
    </message>
    <message>
        <source>后台记录数据区已满并已开始循环记录</source>
        <translation>Record memory full, overwriting</translation>
    </message>
    <message>
        <source>通讯错误，可能已执行</source>
        <translation>No reply, may have run</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>IF1: 通讯关闭</source>
        <translation>IF1: closed</translation>
    </message>
    <message>
        <source>IF1: 重连中…</source>
        <translation>IF1: reconnecting…</translation>
    </message>
    <message>
        <source>IF1: 已恢复</source>
        <translation>IF1: restored</translation>
    </message>
    <message>
        <source>IF2: 通讯关闭</source>
        <translation>IF2: closed</translation>
    </message>
</context>
<context>
    <name>Switches</name>
    <message>
        <source>   通道管理模式</source>
        <translation>   Passage mode</translation>
    </message>
    <message>
        <source>   EAS模式</source>
        <translation>   EAS mode</translation>
    </message>
    <message>
        <source>   强制EAS模式</source>
        <translation>   Forced EAS mode</translation>
    </message>
    <message>
        <source>   红外线正向</source>
        <translation>   IR forward</translation>
    </message>
    <message>
        <source>   红外线反向</source>
        <translation>   IR reverse</translation>
    </message>
    <message>
        <source>   读写器失去连接时不报警</source>
        <translation>   No alarm on reader loss</translation>
    </message>
    <message>
        <source>   读写器失去连接时报警</source>
        <translation>   Alarm on reader loss</translation>
    </message>
    <message>
        <source>   要写后台记录</source>
        <translation>   Record writing on</translation>
    </message>
    <message>
        <source>   不写后台记录</source>
        <translation>   Record writing off</translation>
    </message>
    <message>
        <source>   操作失败  强制EAS模式</source>
        <translation>   Failed: EAS mode is forced</translation>
    </message>
    <message>
        <source>   操作失败</source>
        <translation>   Failed</translation>
    </message>
    <message>
        <source>   模式设置成功</source>
        <translation>   Mode set</translation>
    </message>
    <message>
        <source>   模式读取失败</source>
        <translation>   Mode read failed</translation>
    </message>
    <message>
        <source>红外探测方向设置</source>
        <translation>Set IR direction: </translation>
    </message>
    <message>
        <source>红外探测方向读取</source>
        <translation>Read IR direction: </translation>
    </message>
    <message>
        <source>读写器连接中断报警设置</source>
        <translation>Set reader-loss alarm: </translation>
    </message>
    <message>
        <source>读写器连接中断报警读取</source>
        <translation>Read reader-loss alarm: </translation>
    </message>
    <message>
        <source>设置是否写后台记录</source>
        <translation>Set record writing: </translation>
    </message>
    <message>
        <source>设置是否写后台记录操作失败      </source>
        <translation>Record writing not set: </translation>
    </message>
    <message>
        <source>读取是否写后台记录操作失败    </source>
        <translation>Record writing not read: </translation>
    </message>
    <message>
        <source>保存或恢复配置现场数据    </source>
        <translation>Save or restore settings: </translation>
    </message>
    <message>
        <source>设置后台配置信息自动加载   </source>
        <translation>Set settings auto-load: </translation>
    </message>
</context>
<context>
    <name>TChangeIPdlg</name>
    <message>
        <source>修改IP地址</source>
        <translation>Change IP address</translation>
    </message>
    <message>
        <source>请输入设备IP：</source>
        <translation>New IP:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TagData</name>
    <message>
        <source>数据交换命令</source>
        <translation>Read tag data: </translation>
    </message>
    <message>
        <source>信息提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请输入正确的数据</source>
        <translation>Please enter valid data.</translation>
    </message>
    <message>
        <source>UID数据错误</source>
        <translation>Invalid UID.</translation>
    </message>
    <message>
        <source>块长度为4字节时一次最多读取16个块</source>
        <translation>With 4-byte blocks, at most 16 blocks per read.</translation>
    </message>
    <message>
        <source>块长度为8字节时一次最多读取8个块</source>
        <translation>With 8-byte blocks, at most 8 blocks per read.</translation>
    </message>
</context>
<context>
    <name>TfNhSetDlg</name>
    <message>
        <source>网络高级选项设置</source>
        <translation>Advanced network options</translation>
    </message>
    <message>
        <source>连接方式：</source>
        <translation>Connect:</translation>
    </message>
    <message>
        <source>立即连接</source>
        <translation>At once</translation>
    </message>
    <message>
        <source>有数据才连接</source>
        <translation>On data</translation>
    </message>
    <message>
        <source>连接时限：</source>
        <translation>Timeout:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfPhSetDlg</name>
    <message>
        <source>串口高级选项设置</source>
        <translation>Advanced serial options</translation>
    </message>
    <message>
        <source>最大数据封包数：</source>
        <translation>Max packet size:</translation>
    </message>
    <message>
        <source>最大字符间延时：</source>
        <translation>Max character gap:</translation>
    </message>
    <message>
        <source>On - the - Fly 功能：</source>
        <translation>On-the-fly:</translation>
    </message>
    <message>
        <source>禁用</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>使用</source>
        <translation>On</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfSetdlg</name>
    <message>
        <source>属性设置</source>
        <translation>Module settings</translation>
    </message>
    <message>
        <source>网络属性设置</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>用户名称：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>设备名称：</source>
        <translation>Module:</translation>
    </message>
    <message>
        <source>MAC 地址：</source>
        <translation>MAC:</translation>
    </message>
    <message>
        <source>IP   地  址：</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>源端口号：</source>
        <translation>Local port:</translation>
    </message>
    <message>
        <source>传输协议：</source>
        <translation>Protocol:</translation>
    </message>
    <message>
        <source>工作模式：</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>客户端</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>目  标   IP：</source>
        <translation>Dest IP:</translation>
    </message>
    <message>
        <source>目标端口：</source>
        <translation>Dest port:</translation>
    </message>
    <message>
        <source>网  关  IP：</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>网络掩码：</source>
        <translation>Netmask:</translation>
    </message>
    <message>
        <source>高级选项 . . .</source>
        <translation>Advanced...</translation>
    </message>
    <message>
        <source>串口属性设置</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>波 特 率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>校      验：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>比 特 位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>DTR 设置：</source>
        <translation>DTR:</translation>
    </message>
    <message>
        <source>禁用</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>使用</source>
        <translation>On</translation>
    </message>
    <message>
        <source>RTS 设置：</source>
        <translation>RTS:</translation>
    </message>
    <message>
        <source>确 定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取 消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TlocateForm</name>
    <message>
        <source>搜索指定设备</source>
        <translation>Find a module by IP</translation>
    </message>
    <message>
        <source>请输入设备IP：</source>
        <translation>Module IP:</translation>
    </message>
    <message>
        <source>提示：指定搜索功能多数被用于查找跨网段设备</source>
        <translation>Note: mostly used for other subnets</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
