<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="3"/>
<FIELD attrname="GATHER_MOC" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="000" GATHER_MOC="国土交通省 港湾局"/>
<ROW CD="011" GATHER_MOC="北海道開発局"/>
<ROW CD="021" GATHER_MOC="東北地方整備局"/>
<ROW CD="031" GATHER_MOC="関東地方整備局"/>
<ROW CD="041" GATHER_MOC="北陸地方整備局"/>
<ROW CD="051" GATHER_MOC="中部地方整備局"/>
<ROW CD="061" GATHER_MOC="近畿地方整備局"/>
<ROW CD="071" GATHER_MOC="中国地方整備局"/>
<ROW CD="081" GATHER_MOC="四国地方整備局"/>
<ROW CD="091" GATHER_MOC="九州地方整備局"/>
<ROW CD="092" GATHER_MOC="沖縄総合事務局"/>
</ROWDATA>
</DATAPACKET>
